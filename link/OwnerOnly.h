#pragma once
// Files that hold a technician's work (the settings, the visit book) are
// their owner's alone on Linux: 0600 in a 0700 folder, made so and mended
// when found wider (a file an earlier Varmo made, a copy from elsewhere).
// Nothing on Windows, where the user's profile is the user's already.
#include <QString>

namespace varmo {

// The folder made for its owner alone (its parents as the system makes
// them), or made so when it is there and wider.
void FolderForOwner(const QString& folder);

// The file made empty for its owner alone when it is not there (so that
// whoever writes it next keeps its mode); made so when it is there and wider.
void FileForOwner(const QString& file);

// An existing file made so when wider; a missing one left missing.
void MendForOwner(const QString& file);

}  // namespace varmo
