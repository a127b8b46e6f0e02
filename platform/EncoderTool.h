#pragma once

#include <QString>

namespace EncoderTool {

// File name of the external encoder tool inside the application folder ("encode" here,
// "encode.exe" on Windows).
QString fileName();

} // namespace EncoderTool
