// Key codes and modifier states in the form the program's key handlers take them.
#pragma once

#include <Qt>

namespace tavelo {

// Modifier state of a key event: the sum of these for the keys held.
enum ModifierKey : int {
    kModifierCtrl = 1,
    kModifierShift = 2,
    kModifierAlt = 4,
};

constexpr int kKeyEnter = 13;

// The classic virtual-key code of a Qt key (Enter 13, Esc 27, "A" 65, F1 112 ...); 0 for a
// key that has none.
int VirtualKeyCode(int qtKey);

// The sum of kModifierCtrl, kModifierShift and kModifierAlt for the modifiers held.
int ModifierState(Qt::KeyboardModifiers modifiers);

}  // namespace tavelo
