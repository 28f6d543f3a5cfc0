#pragma once
// The short pauses a printer needs between frames sent one after another.
// The window keeps painting and answers keep arriving meanwhile; what the
// operator does waits until the pause is over, unless a modal window (a
// progress box with its own "Anuluj") already keeps the operator away from
// everything else.
namespace varmo {

enum class OperatorInput {
    HeldOff,    // mouse and keys wait until the pause is over
    ModalOnly,  // only the window that is modal now can take them
};

void LinePause(int ms, OperatorInput input = OperatorInput::HeldOff);

}  // namespace varmo
