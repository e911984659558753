#include "storage/settingsformat.h"

#include "storage/errortext.h"
#include "storage/windows1252.h"

#include <algorithm>

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

    FieldValue readField()
    {
        if (m_pos >= m_bytes.size())
            throw SettingsError(FileMessage(m_name, Incomplete));
        m_pos = std::min(m_bytes.find_first_not_of(' ', m_pos), m_bytes.size());
        if (m_pos < m_bytes.size() && m_bytes[m_pos] == '"') {
            // The text runs to the next double quote, or to the end of the
            // file when none follows; line ends within it belong to the text.
            // What follows a closing quote up to the separator is not part of the field.
            const std::string_view text = take(m_bytes.find('"', m_pos + 1), 1);
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
        if (m_pos < m_bytes.size() && m_bytes[m_pos++] == '\r' && m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
            ++m_pos;
    }

    std::string decode(std::string_view text) const
    {
        return NormaliseText(m_utf8 ? std::string(text) : DecodeWindows1252(text));
    }

    std::string_view m_bytes;
    const std::string &m_name;
    std::size_t m_pos = 0;
    bool m_utf8 = false;
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

} // namespace

SettingsRecord ParseSettings(std::string_view bytes, const std::string &nameForMessages)
{
    if (bytes.size() > MaxFileBytes)
        throw SettingsError(FileMessage(nameForMessages, FileTooLarge));
    FieldReader reader(bytes, nameForMessages);
    SettingsRecord record;
    record.level = reader.readField();
    for (HighScoreEntry &entry : record.entries) {
        entry.score = reader.readField();
        entry.name = reader.readField();
    }
    return record;
}

std::string FormatSettings(const SettingsRecord &record, const std::string &nameForMessages)
{
    std::string bytes = formatField(record.level, nameForMessages) + "\r\n";
    for (const HighScoreEntry &entry : record.entries)
        bytes += formatField(entry.score, nameForMessages) + "," + formatField(entry.name, nameForMessages) + "\r\n";
    return bytes;
}
