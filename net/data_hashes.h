// What both sides of an online match must have alike: a hash of every file of
// the data tree (game\ and rsrc\), by data name. Anything the fight reads is
// in there; a difference anywhere else is refused too, which costs nothing
// when both sides run the same release.
#pragma once
#include <string>
#include <vector>

#include "net/packet.h"

// Regular files under DATA_DIR/game and DATA_DIR/rsrc, sorted by name, named
// with backslashes; symbolic links are not followed.
std::vector<net_file_hash> hash_data_files(const std::string& data_dir);

// The first name (in the host's order, then the guest's extras) whose hash
// differs or that only one side has; empty when they match.
std::string first_differing_file(const std::vector<net_file_hash>& host, const std::vector<net_file_hash>& guest);
