// The subcommands. Each reads the drawings the options name and returns the
// exit status (options.h): the worst of the files read.
#ifndef OSTRA_TOOL_COMMANDS_H
#define OSTRA_TOOL_COMMANDS_H

#include "options.h"

namespace tool {

int runlist(const options& o);
int runlayers(const options& o);
int runblocks(const options& o);
int runstats(const options& o);
int runsvg(const options& o);
int runcopy(const options& o);
int runtexts(const options& o);

// The heading of a file's block of plain output when several files are
// read; nothing for one.
void heading(const options& o, const std::string& file, bool first);

}  // namespace tool

#endif
