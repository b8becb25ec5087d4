// Set-up at module event 0 and the one way a description reaches the server.
#pragma once

#include <string_view>

namespace qm {

// Takes the document folder from the host and derives doc_dir and ini_path;
// empties player_name. Tests nothing and creates no folder.
void init_paths();

// Sends "desc " + text + "\n" to the game server through f2_netout, with the
// count 5 + the text's length + 1. A CR or LF in the text is sent as a space,
// so a text can never put a second command on the server's line.
void send_desc_line(std::string_view text);

} // namespace qm
