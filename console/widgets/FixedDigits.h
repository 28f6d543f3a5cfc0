#pragma once
// The fixed "20" in front of a masked year. The operator who types the whole
// year where the field shows its "20" means the same year as one who types
// only the last two digits: a digit typed where the mask holds that very
// digit fixed steps over it instead of going into the next free place.
class QLineEdit;

namespace varmo {

// Makes the field step over its fixed digits so, for as long as it lives.
void StepOverFixedDigits(QLineEdit* edit);

}  // namespace varmo
