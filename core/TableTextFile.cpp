#include "core/TableTextFile.h"

#include "base/Error.h"
#include "base/ReplaceFile.h"

#include <algorithm>

namespace newsbell {

namespace {

// Rows from firstRow on, columns from firstColumn on, ";" between cells, CR LF after each row.
void joinRows(const EventTable& table, int firstRow, int firstColumn, std::string& out) {
    for (int r = firstRow; r < table.rowCount(); ++r) {
        const Row& row = table.row(r);
        for (int c = firstColumn; c < columnCount; ++c) {
            out += row[size_t(c)];
            out += c + 1 < columnCount ? ";" : "\r\n";
        }
    }
}

} // namespace

std::string tableText(const EventTable& table) {
    std::string out;
    appendTableText(table, 1, out);
    return out;
}

void appendTableText(const EventTable& table, int firstRow, std::string& out) {
    joinRows(table, std::max(firstRow, 1), 1, out);
}

std::string gridText(const EventTable& table) {
    std::string out;
    joinRows(table, 0, 0, out);
    return out;
}

void writeFileAtomically(const QString& fileName, std::string_view bytes) {
    const QString failure = replaceFile(fileName, bytes);
    if (!failure.isEmpty())
        throw Error(QStringLiteral("Не удалось сохранить файл «%1»: %2")
                        .arg(fileName, failure)
                        .toStdString());
}

void WriteTableTextFile(const EventTable& table, const QString& fileName) {
    writeFileAtomically(fileName, tableText(table));
}

} // namespace newsbell
