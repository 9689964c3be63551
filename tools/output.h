// The tool's output: results on standard output, messages on standard
// error, and output files named on the command line.
#ifndef OSTRA_TOOL_OUTPUT_H
#define OSTRA_TOOL_OUTPUT_H

#include <cstdio>
#include <string>

namespace tool {

class input;

// Writes a line of results; false once the output cannot be written (a full
// disk, a closed pipe).
bool emit(const std::string& line);
// Reports a failed write to name; the exit status for it.
int outputerror(const std::string& name);
// Flushes standard output; status, or the status of a failed write.
int finishoutput(int status);

// An output file named on the command line, standard output for "-".
//
// A regular file or a new path is never written in place: the output goes
// to a temporary file in the same folder, which replaces the target only
// when close() finds it complete, with the permission bits of the file it
// replaces (those a new file gets otherwise). A device, pipe or socket (such
// as /dev/null or /dev/full) cannot be replaced and is written directly.
class output {
public:
    output() = default;
    // Abandons what was not closed: the target stays as it was.
    ~output() { discard(); }
    output(const output&) = delete;
    output& operator=(const output&) = delete;

    // Opens path for writing; false with a message on standard error when it
    // cannot be, or when it is the regular file that from reads (the same
    // device and inode: a hard link or the same name), which is refused.
    bool open(const std::string& path, const input& from);
    FILE* get() const { return file_; }
    const std::string& name() const { return path_; }
    bool tostdout() const { return path_ == "-"; }
    // Closes the file and puts a temporary file in place of the target;
    // false (with errno set) when a write, the close or the replacing
    // failed, and the target is then as it was.
    bool close();
    // Closes the file without putting anything in place: a temporary file
    // is removed, a device left as it is.
    void discard();

private:
    // The temporary file for target with the given permission bits;
    // replacing tells whether target exists, for the message on failure.
    bool opentemporary(const std::string& target, unsigned mode, bool replacing);

    std::string path_;
    std::string target_, temporary_;  // for a temporary file: where it goes, and its name
    FILE* file_ = nullptr;
};

}  // namespace tool

#endif
