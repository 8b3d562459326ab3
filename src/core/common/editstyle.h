#pragma once

namespace zf {

// The kind of value a data-bound edit holds: a text, or a number shown with
// ",0.##" and typed with "0.##" in the user's locale (a floating-point field, a
// fixed-point price or an integer). The numbers are the wizard's numeric kinds.
enum class EditKind : int { Text = 0, Float = 1, Price = 2, Integer = 3 };

inline bool isNumeric(EditKind kind) {
    return kind != EditKind::Text;
}

// The colour of an edit by the rule of the windows: button face when disabled,
// red when its number is empty or 0, window colour otherwise, aqua while it has
// the focus. Default leaves the control's own colours.
enum class EditColour { Default, ButtonFace, Red, Window, Aqua };

} // namespace zf
