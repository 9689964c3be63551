// An input drawing, a named file or standard input, handed to the reader as
// a C stream that counts the bytes and lines passing through it and shows
// progress on a terminal.
#ifndef OSTRA_TOOL_INPUT_H
#define OSTRA_TOOL_INPUT_H

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tool {

class input {
public:
    input() = default;
    ~input();
    input(const input&) = delete;
    input& operator=(const input&) = delete;

    // Opens path, or standard input for "-", and peeks at the first bytes.
    // On failure returns false with a one-line message in error.
    bool open(const std::string& path, std::string& error);
    // The name for messages: the path, or "<stdin>".
    const std::string& name() const { return name_; }
    // The counting stream; valid from open() to close().
    FILE* stream() const { return stream_; }

    // What the first bytes showed: nothing at all, or the signature of the
    // binary form of DXF, which the reader does not read.
    bool empty() const { return peeklen_ == 0 && !readerror_; }
    bool binary() const;

    std::uint64_t bytes() const { return bytes_; }
    // Lines read so far, a last line without a newline included.
    std::uint64_t lines() const { return newlines_ + (bytes_ > 0 && last_ != '\n' ? 1 : 0); }
    // Lines holding something other than white space, counted up to 2: a
    // stream with fewer cannot hold a single group.
    int contentlines() const;
    // The file size when known (a regular file), otherwise 0.
    std::uint64_t size() const { return size_; }
    // The errno of a failed read, or 0.
    int readerror() const { return readerror_; }

    // Closes the stream and clears the progress display.
    void close();

private:
    static ssize_t readhook(void* cookie, char* buf, std::size_t size);
    ssize_t read(char* buf, std::size_t size);
    void count(const char* buf, std::size_t n);
    void progress();

    std::string name_;
    int fd_ = -1;
    bool ownfd_ = false;
    FILE* stream_ = nullptr;

    // The peeked first bytes, served to the reader before the rest.
    char peek_[64] = {};
    std::size_t peeklen_ = 0;
    std::size_t peekpos_ = 0;

    std::uint64_t bytes_ = 0;
    std::uint64_t newlines_ = 0;
    char last_ = '\n';
    int content_ = 0;
    bool linehascontent_ = false;
    std::uint64_t size_ = 0;
    int readerror_ = 0;

    bool showprogress_ = false;
    bool progressshown_ = false;
    std::chrono::steady_clock::time_point started_, lastshown_;
};

}  // namespace tool

#endif
