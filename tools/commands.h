// The subcommands. Each returns the exit status: 0 on success, 1 for input
// that cannot be read and for failed writes (the message is on standard
// error).
#ifndef OSTRA_TOOL_COMMANDS_H
#define OSTRA_TOOL_COMMANDS_H

#include <string>

namespace tool {

int runlist(const std::string& file, const std::string& layers, bool json);
int runlayers(const std::string& file);
int runblocks(const std::string& file);
int runstats(const std::string& file, const std::string& layers);
int runsvg(const std::string& file, const std::string& output, const std::string& layers);
// extended: the writer's extended mode, each geometry on its layer;
// otherwise lines and circles only, on layer 0.
int runcopy(const std::string& file, const std::string& output, const std::string& layers, bool extended);

}  // namespace tool

#endif
