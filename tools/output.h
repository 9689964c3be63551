// The tool's output: results on standard output, messages on standard
// error, and output files named on the command line.
#ifndef OSTRA_TOOL_OUTPUT_H
#define OSTRA_TOOL_OUTPUT_H

#include <cstdio>
#include <string>

namespace tool {

// Writes a line of results; false once the output cannot be written (a full
// disk, a closed pipe).
bool emit(const std::string& line);
// Reports a failed write to name; the exit status for it.
int outputerror(const std::string& name);
// Flushes standard output; status, or the status of a failed write.
int finishoutput(int status);

// An output file named on the command line, standard output for "-".
class output {
public:
    output() = default;
    ~output() { close(); }
    output(const output&) = delete;
    output& operator=(const output&) = delete;

    bool open(const std::string& path);
    FILE* get() const { return file_; }
    const std::string& name() const { return path_; }
    bool tostdout() const { return path_ == "-"; }
    // Closes the file; false (with errno set) when a write failed.
    bool close();
    // Closes and deletes a file that holds no complete result. Only a
    // regular file is deleted: a device, pipe or socket named as the output
    // (such as /dev/full) is not the tool's to remove.
    void discard();

private:
    std::string path_;
    FILE* file_ = nullptr;
    bool regular_ = false;  // the output is a regular file
};

}  // namespace tool

#endif
