#pragma once

namespace ordinalette::form {

// The system colours the window's controls are painted with, resolved by each front end when
// it draws them.
enum class SystemColor { Window, InactiveCaptionText };

} // namespace ordinalette::form
