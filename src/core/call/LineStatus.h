#pragma once
#include <QString>

namespace zrk {

// The texts of the line status codes 1 to 8; empty for any other code.
QString statusText(int code);

}  // namespace zrk
