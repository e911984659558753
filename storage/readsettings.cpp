#include "storage/errortext.h"
#include "storage/settingsformat.h"
#include "storage/windows1252.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <streambuf>

namespace {

using Traits = std::streambuf::traits_type;

// A failed read() of the file, carried out of the stream buffer to
// ReadSettings, which alone knows how to name it.
struct ReadFailure
{
    int errorNumber;
};

// Reads a file descriptor in blocks, so that only one block is held at a time.
class FdInputBuffer : public std::streambuf
{
public:
    explicit FdInputBuffer(int fd) : m_fd(fd) {}

protected:
    int_type underflow() override
    {
        ssize_t count = 0;
        do {
            count = ::read(m_fd, m_block.data(), m_block.size());
        } while (count < 0 && errno == EINTR);
        if (count < 0)
            throw ReadFailure{errno};
        if (count == 0)
            return Traits::eof();
        setg(m_block.data(), m_block.data(), m_block.data() + count);
        return Traits::to_int_type(m_block[0]);
    }

private:
    int m_fd;
    std::array<char, 64 * 1024> m_block{};
};

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { ::close(m_fd); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads one field after another from the current position.
class FieldReader
{
public:
    FieldReader(std::streambuf &in, const std::string &name) : m_in(in), m_name(name) {}

    FieldValue readField()
    {
        if (Traits::eq_int_type(m_in.sgetc(), Traits::eof()))
            throw SettingsError(IncompleteFileMessage(m_name));
        while (Traits::eq_int_type(m_in.sgetc(), Traits::to_int_type(' ')))
            m_in.sbumpc();
        if (Traits::eq_int_type(m_in.sgetc(), Traits::to_int_type('"'))) {
            m_in.sbumpc();
            return readQuoted();
        }
        return readUnquoted();
    }

private:
    // The text runs to the next double quote, or to the end of the file when
    // none follows; line ends within it belong to the text.
    FieldValue readQuoted()
    {
        std::string bytes;
        for (int c = m_in.sbumpc(); !isEnd(c) && c != '"'; c = m_in.sbumpc())
            append(bytes, c);
        skipRestOfField();
        return FieldValue::text(NormaliseText(DecodeWindows1252(bytes)));
    }

    FieldValue readUnquoted()
    {
        std::string bytes;
        for (int c = m_in.sbumpc(); !isEnd(c) && !isSeparator(c); c = m_in.sbumpc())
            append(bytes, c);
        while (!bytes.empty() && bytes.back() == ' ')
            bytes.pop_back();
        if (bytes.empty())
            return FieldValue();
        if (const std::optional<double> number = ParseDecimal(bytes))
            return FieldValue::number(*number);
        return FieldValue::text(NormaliseText(DecodeWindows1252(bytes)));
    }

    // What follows a closing quote up to the separator is not part of the field.
    void skipRestOfField()
    {
        for (int c = m_in.sbumpc(); !isEnd(c) && !isSeparator(c); c = m_in.sbumpc()) {
        }
    }

    // A comma or a line end. A CR takes an LF right after it along, so that
    // CR LF is one line end and not an empty field between two.
    bool isSeparator(int c)
    {
        if (c == '\r' && Traits::eq_int_type(m_in.sgetc(), Traits::to_int_type('\n')))
            m_in.sbumpc();
        return c == ',' || c == '\r' || c == '\n';
    }

    static bool isEnd(int c) { return Traits::eq_int_type(c, Traits::eof()); }

    void append(std::string &bytes, int c)
    {
        if (bytes.size() >= MaxFieldBytes)
            throw SettingsError(FieldTooLongMessage(m_name));
        bytes += Traits::to_char_type(c);
    }

    std::streambuf &m_in;
    const std::string &m_name;
};

} // namespace

SettingsRecord ReadSettingsFrom(std::istream &in, const std::string &nameForMessages)
{
    FieldReader reader(*in.rdbuf(), nameForMessages);
    SettingsRecord record;
    record.level = reader.readField();
    for (HighScoreEntry &entry : record.entries) {
        entry.score = reader.readField();
        entry.name = reader.readField();
    }
    return record;
}

SettingsRecord ReadSettings(const std::string &path)
{
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw SettingsError(AccessFailedMessage(path, FileAccess::Read, errno));
    const FileDescriptor file(fd);
    FdInputBuffer buffer(file.get());
    std::istream in(&buffer);
    try {
        return ReadSettingsFrom(in, path);
    } catch (const ReadFailure &failure) {
        throw SettingsError(AccessFailedMessage(path, FileAccess::Read, failure.errorNumber));
    }
}
