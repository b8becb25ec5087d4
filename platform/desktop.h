// Desktop actions: the two places where the module reaches into the Windows
// desktop. Neither keeps state, shows a message or returns a result; the
// caller judges the outcome by what it can see afterwards.
#pragma once

#include <string>

namespace qm {

// Moves one file to the Recycle Bin through the shell, with the shell's own
// confirmation question, progress and error messages. Returns when the
// operation is over, answered or not; the file is then either in the Recycle
// Bin or still in its place.
void delete_to_recycle_bin(const std::string& path);

// Starts a program from a complete command line and leaves it running on its
// own: both of its handles are closed at once. A failed start is not reported.
void launch_editor(const std::string& command_line);

// The editor's program name, read from the module's string table each time.
std::string editor_program();

// The editor's name, a space, and the path between double quotes.
std::string editor_command_line(const std::string& path);

} // namespace qm
