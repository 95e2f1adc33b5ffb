#pragma once
// The text an exception that reached a command handler shows.  A runtime
// error comes from a place that documents it raises one (a coordinate system
// that cannot convert, a degenerate transformation): its own French message.
// Anything else (std::logic_error and its kin, an exhausted memory) is a
// fault of the program, reported as an internal error, never as a bad file.
#include <exception>
#include <string>

namespace app {

std::string TexteErreur(const std::exception& e);

}  // namespace app
