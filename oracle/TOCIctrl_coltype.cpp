// The column-type lookup of the session controller: the data types that the
// schema's dictionary records for named columns of a table.
#include "oracle/LocaleText.h"
#include "oracle/TOCIctrl.h"

namespace {

// A text literal of SQL holding `text`: a quote inside is doubled, so a name
// can only ever be compared, never end the literal.
std::string sqlLiteral(const std::string &text)
{
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'')
            literal += c;
    }
    literal += '\'';
    return literal;
}

} // namespace

bool TOCIctrl::ChkColType(const std::string &table, const std::vector<std::string> &columns,
                          std::vector<std::string> &types, cda_def &area)
{
    if (!m_connected)
        return false;
    if (columns.size() != types.size()) {
        LastError = QStringLiteral("OCIクラス内部エラー：カラム配列とタイプ配列の数が合いません。");
        return false;
    }
    const std::string sql = "SELECT COLUMN_NAME, DATA_TYPE from user_tab_columns WHERE TABLE_NAME = "
        + sqlLiteral(upperLocal8Bit(table));
    if (!Parse(area, sql)) {
        err_report(area);
        return false;
    }

    // Room for the longest name a dictionary can hold (128 bytes), so that no
    // name is cut and no fetch fails on it.
    describe text;
    text.DbType = OCI_TYPE_VARCHAR2;
    text.DbSize = 128;
    std::string name(size_t(defineBufferSize(text)), '\0');
    std::string type(name.size(), '\0');
    if (!Defin(area, 0, name.data(), text) || !Defin(area, 1, type.data(), text) || !Exec(area)) {
        err_report(area);
        return false;
    }

    std::vector<std::string> wanted;
    wanted.reserve(columns.size());
    for (const std::string &column : columns)
        wanted.push_back(upperLocal8Bit(column));
    while (SelFetch(area)) {
        const std::string_view fetched(name.c_str());
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i] == fetched) {
                types[i] = type.c_str();
                break;
            }
        }
    }
    return true;
}
