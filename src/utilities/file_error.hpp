// The causes of failed file operations in German words of our own: the C library's texts are
// English and name things the user did not do.
#pragma once

#include <string>

namespace umbrix {

/// What the error number of a failed open, read or write means for the user, as a clause that
/// follows a colon: "den Ordner gibt es nicht", "keine Berechtigung", ...
std::string FileErrorCause(int error, bool reading);

}  // namespace umbrix
