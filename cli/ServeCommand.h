// `korval serve`: the gateway run until SIGINT or SIGTERM.
#pragma once

#include <string>
#include <vector>

// `args` follows the word `serve`. 0 after a stop by signal; 3 when it could not start.
int runServe(const std::vector<std::string>& args);
