// An input drawing, a named file or standard input. A regular file is
// mapped into memory and read from there; anything else (standard input, a
// pipe, a file that cannot be mapped) is handed to the reader as a C stream
// that counts the bytes and lines passing through it, or, for an input that
// is to be read twice, first copied to a temporary file that is mapped.
// Either way progress shows on a terminal.
#ifndef OSTRA_TOOL_INPUT_H
#define OSTRA_TOOL_INPUT_H

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include <sys/stat.h>

#include <ostra/reader.h>

namespace tool {

class input {
public:
    input() = default;
    ~input();
    input(const input&) = delete;
    input& operator=(const input&) = delete;

    // Opens path, or standard input for "-", and peeks at the first bytes.
    // With twice, an input that cannot be mapped is copied to a temporary
    // file first, so that rewind() can start it again. On failure returns
    // false with a one-line message in error ("cannot open: ...", without
    // the name).
    bool open(const std::string& path, std::string& error, bool twice = false);
    // Starts a mapped input again from its first byte, with the counts
    // cleared; false (and nothing changed) for an input read as a stream.
    bool rewind();
    // Whether st is the status of the regular file this input reads (the
    // same device and inode).
    bool is(const struct stat& st) const { return regular_ && st.st_dev == dev_ && st.st_ino == ino_; }
    // The name for messages: the path, or "<stdin>".
    const std::string& name() const { return name_; }
    // The counting stream; valid from open() to close(), null for a mapped file.
    FILE* stream() const { return stream_; }
    // A reader of the input: from memory for a mapped file, else from the stream.
    ostra::reader makereader() const;
    // Tells the input how far reader r has come, now and then: the pages of a
    // mapped file it has passed are given back, and progress is shown.
    void passed(const ostra::reader& r) {
        if (mapped_ && (++geometries_ & 255) == 0) release(r.offset());
    }

    // What the first bytes showed: nothing at all, or the signature of the
    // binary form of DXF.
    bool empty() const { return !mapped_ && peeklen_ == 0 && !readerror_; }
    bool binary() const;

    // The bytes read so far (all of a mapped file).
    std::uint64_t bytes() const { return mapped_ ? size_ : bytes_; }
    // Lines read so far, a last line without a newline included (all of a
    // mapped file's, counted when first asked for).
    std::uint64_t lines() const;
    // Lines holding something other than white space, counted up to 2: a
    // stream with fewer cannot hold a single group.
    int contentlines() const;
    // The file size when known (a regular file), otherwise 0.
    std::uint64_t size() const { return size_; }
    // The errno of a failed read, or 0.
    int readerror() const { return readerror_; }
    // The last bytes read (up to 32; all of a mapped file is read).
    std::string tail() const;

    // Closes the stream and clears the progress display.
    void close();

private:
    // Maps the open regular file of size_ bytes; false when it cannot be.
    bool map();
    // Copies the rest of the open input to an unlinked temporary file and
    // reads that from its start instead.
    bool spool(std::string& error);
    void release(std::size_t offset);
    // Counts the lines of a mapped file that are not counted yet: those
    // before released_ are, as they are given back.
    void countmapped() const;
    static ssize_t readhook(void* cookie, char* buf, std::size_t size);
    ssize_t read(char* buf, std::size_t size);
    void count(const char* buf, std::size_t n) const;
    void progress();

    std::string name_;
    int fd_ = -1;
    bool ownfd_ = false;
    FILE* stream_ = nullptr;
    // The stream's buffer, which outlives it.
    static constexpr std::size_t streambufsize = 1 << 16;
    std::unique_ptr<char[]> streambuf_;

    // The peeked first bytes, served to the reader before the rest.
    char peek_[64] = {};
    std::size_t peeklen_ = 0;
    std::size_t peekpos_ = 0;

    std::uint64_t bytes_ = 0;
    mutable std::uint64_t newlines_ = 0;
    mutable char last_ = '\n';
    mutable int content_ = 0;
    mutable bool linehascontent_ = false;
    std::uint64_t size_ = 0;
    int readerror_ = 0;
    FILE* spool_ = nullptr;  // the temporary copy of an input read twice
    bool regular_ = false;   // the input is a regular file, which dev_ and ino_ name
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    // The last bytes of a stream, as count() saw them.
    mutable char tail_[32] = {};
    mutable std::size_t taillen_ = 0;

    // A mapped file: its bytes, the part given back (whose lines are
    // counted), whether the rest is counted.
    const char* mapped_ = nullptr;
    std::size_t released_ = 0;
    unsigned geometries_ = 0;
    mutable bool counted_ = false;

    bool showprogress_ = false;
    bool progressshown_ = false;
    std::chrono::steady_clock::time_point started_, lastshown_;
};

}  // namespace tool

#endif
