#pragma once
#include <QString>

namespace zrk {

// The texts of the line status codes 1 to 8; empty for any other code.
QString statusText(int code);

// A caller's status as the call list shows it: "плохой" for 1, "приоритетный" for 2,
// "нормальный" for anything else (not in the book too).
QString statusWord(int status);

}  // namespace zrk
