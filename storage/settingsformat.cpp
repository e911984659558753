#include "storage/settingsformat.h"

#include "storage/errortext.h"
#include "storage/windows1252.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Separators = ",\r\n";

// Reads one field after another from the current position.
class FieldReader
{
public:
    FieldReader(std::string_view bytes, const std::string &name) : m_bytes(bytes), m_name(name)
    {
        if (m_bytes.starts_with("\xFF\xFE") || m_bytes.starts_with("\xFE\xFF"))
            throw SettingsError(FileMessage(m_name, InUtf16));
        m_utf8 = m_bytes.starts_with(Utf8Mark);
        m_pos = m_utf8 ? Utf8Mark.size() : 0;
    }

    void beginLine()
    {
        m_lineStart = m_pos;
        m_lineExact = true;
        m_lineClosed = true;
    }

    // The line from beginLine() to the separator after its last field.
    StoredSettings::Line endLine() const
    {
        const std::string_view bytes = m_bytes.substr(m_lineStart, m_fieldEnd - m_lineStart);
        const bool keepable = !m_utf8 && m_lineClosed && bytes.find_first_of("\r\n") == std::string_view::npos
                              && IsWindows1252(bytes);
        return {keepable ? std::optional<std::string>(bytes) : std::nullopt, m_lineExact};
    }

    bool moreFollows() const { return m_bytes.find_first_not_of(" \t\r\n", m_pos) != std::string_view::npos; }

    FieldValue readField()
    {
        if (m_pos >= m_bytes.size())
            throw SettingsError(FileMessage(m_name, Incomplete));
        m_pos = std::min(m_bytes.find_first_not_of(' ', m_pos), m_bytes.size());
        if (m_pos < m_bytes.size() && m_bytes[m_pos] == '"') {
            // The text runs to the next double quote, or to the end of the
            // file when none follows; line ends within it belong to the text.
            // What follows a closing quote up to the separator is not part of the field.
            const std::size_t closing = m_bytes.find('"', m_pos + 1);
            m_lineClosed = m_lineClosed && closing != std::string_view::npos;
            const std::string_view text = take(closing, 1);
            skipPastSeparator();
            return FieldValue::text(decode(text));
        }
        std::string_view text = take(m_bytes.find_first_of(Separators, m_pos), 0);
        skipPastSeparator();
        text = text.substr(0, text.find_last_not_of(' ') + 1);
        if (text.empty())
            return FieldValue();
        if (CanonicalDecimal(text))
            return FieldValue::number(text);
        return FieldValue::text(decode(text));
    }

private:
    // The bytes from the position, after skip bytes, up to end (npos: the end
    // of the file); the position moves past end.
    std::string_view take(std::size_t end, std::size_t skip)
    {
        end = std::min(end, m_bytes.size());
        const std::string_view text = m_bytes.substr(m_pos + skip, end - m_pos - skip);
        if (text.size() > MaxFieldBytes)
            throw SettingsError(FileMessage(m_name, FieldTooLong));
        m_pos = std::min(end + skip, m_bytes.size());
        return text;
    }

    // Past the next comma or line end; CR LF is one line end, not an empty
    // field between two.
    void skipPastSeparator()
    {
        m_pos = std::min(m_bytes.find_first_of(Separators, m_pos), m_bytes.size());
        m_fieldEnd = m_pos;
        if (m_pos < m_bytes.size() && m_bytes[m_pos++] == '\r' && m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
            ++m_pos;
    }

    std::string decode(std::string_view text)
    {
        const std::string decoded = m_utf8 ? std::string(text) : DecodeWindows1252(text);
        std::string normal = NormaliseText(decoded);
        m_lineExact = m_lineExact && normal == decoded && (m_utf8 || IsWindows1252(text));
        return normal;
    }

    std::string_view m_bytes;
    const std::string &m_name;
    std::size_t m_pos = 0;
    bool m_utf8 = false;
    std::size_t m_lineStart = 0;
    std::size_t m_fieldEnd = 0;
    bool m_lineExact = true;
    bool m_lineClosed = true;
};

std::string formatField(const FieldValue &field, const std::string &name)
{
    if (!field.isText())
        return field.displayText();
    const std::string bytes = EncodeWindows1252(NormaliseText(field.textValue()));
    if (bytes.size() > MaxFieldBytes)
        throw SettingsError(AccessFailedMessage(name, FileAccess::Write, FieldTooLongCause));
    return '"' + bytes + '"';
}

// Line 0 is the level, lines 1 to 3 the entries.
std::string formatLine(const SettingsRecord &record, std::size_t line, const std::string &name)
{
    if (line == 0)
        return formatField(record.level, name);
    const HighScoreEntry &entry = record.entries[line - 1];
    return formatField(entry.score, name) + "," + formatField(entry.name, name);
}

bool sameLine(const SettingsRecord &a, const SettingsRecord &b, std::size_t line)
{
    return line == 0 ? a.level == b.level : a.entries[line - 1] == b.entries[line - 1];
}

constexpr std::size_t LineCount = std::tuple_size_v<decltype(StoredSettings::lines)>;

} // namespace

StoredSettings ParseStoredSettings(std::string_view bytes, const std::string &nameForMessages)
{
    if (bytes.size() > MaxFileBytes)
        throw SettingsError(FileMessage(nameForMessages, FileTooLarge));
    FieldReader reader(bytes, nameForMessages);
    StoredSettings stored;
    reader.beginLine();
    stored.record.level = reader.readField();
    stored.lines[0] = reader.endLine();
    for (std::size_t i = 0; i < stored.record.entries.size(); ++i) {
        reader.beginLine();
        stored.record.entries[i].score = reader.readField();
        stored.record.entries[i].name = reader.readField();
        stored.lines[i + 1] = reader.endLine();
    }
    stored.moreAfterRecords = reader.moreFollows();
    return stored;
}

SettingsRecord ParseSettings(std::string_view bytes, const std::string &nameForMessages)
{
    return ParseStoredSettings(bytes, nameForMessages).record;
}

std::string FormatSettings(const SettingsRecord &record, const std::string &nameForMessages)
{
    std::string bytes;
    for (std::size_t line = 0; line < LineCount; ++line)
        bytes += formatLine(record, line, nameForMessages) + "\r\n";
    return bytes;
}

SettingsRewrite FormatOver(const StoredSettings &stored, const SettingsRecord &record,
                           const std::string &nameForMessages)
{
    SettingsRewrite rewrite;
    std::vector<std::size_t> altered; // kept lines whose characters the file could not all hold
    for (std::size_t line = 0; line < LineCount; ++line) {
        const StoredSettings::Line &old = stored.lines[line];
        const bool kept = sameLine(stored.record, record, line);
        if (kept && old.verbatim) {
            rewrite.bytes += *old.verbatim;
        } else {
            rewrite.bytes += formatLine(record, line, nameForMessages);
            if (kept && !old.exact)
                altered.push_back(line + 1);
        }
        rewrite.bytes += "\r\n";
    }
    rewrite.lost = LostMessage(nameForMessages, altered, stored.moreAfterRecords);
    return rewrite;
}
