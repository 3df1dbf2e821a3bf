#include "GridExport.h"

#include "app/AppError.h"
#include "app/bsFileUtil.h"
#include "model/clsItems.h"

#include <QIODevice>
#include <QSaveFile>
#include <numeric>

namespace {
const QString lineEnd = QStringLiteral("\r\n");
// Rows are written in blocks, so that a long table is never held twice in memory.
constexpr int rowsPerBlock = 2048;

// Writes the block when it has grown large enough, or always when `last`.
class BlockWriter {
public:
    explicit BlockWriter(QIODevice& device)
        : m_device(device) {}
    QString text;
    void flush(bool last) {
        if (!last && ++m_rows < rowsPerBlock)
            return;
        m_rows = 0;
        const QByteArray bytes = text.toUtf8();
        if (m_device.write(bytes) != bytes.size())
            throw AppError(QStringLiteral("The export could not be written: ") + m_device.errorString());
        text.clear();
    }

private:
    QIODevice& m_device;
    int m_rows = 0;
};
} // namespace

GridExport::GridExport(const clsItems& items, const GridLayout& layout)
    : m_items(items)
    , m_columns(layout.shownColumns()) {
    for (const int column : m_columns) {
        m_captions.push_back(layout.columns[std::size_t(column)].caption);
        m_formats.push_back(layout.columns[std::size_t(column)].numberFormat);
    }
}

bool GridExport::isHtmlName(const QString& fileName) {
    return fileName.toUpper().contains(QLatin1String(".HT"));
}

std::vector<int> GridExport::allRows(int count) {
    std::vector<int> rows(std::size_t(std::max(count, 0)));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

QString GridExport::delimitedField(const QString& text) {
    static const QString special = QStringLiteral(";\"\r\n");
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString GridExport::htmlText(const QString& text) {
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    escaped.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    escaped.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    return escaped;
}

void GridExport::writeDelimited(QIODevice& device, const std::vector<int>& rows) const {
    BlockWriter out(device);
    // A byte order mark, so that spreadsheets read the text as UTF-8 rather than a local code page.
    out.text = QChar(0xFEFF);
    QStringList fields;
    for (const QString& caption : m_captions)
        fields << delimitedField(caption);
    out.text += fields.join(QLatin1Char(';')) + lineEnd;
    for (const int row : rows) {
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            if (i > 0)
                out.text += QLatin1Char(';');
            out.text += delimitedField(m_format.text(m_items.Value(row, m_columns[i]), m_formats[i]));
        }
        out.text += lineEnd;
        out.flush(false);
    }
    out.flush(true);
}

void GridExport::writeHtml(QIODevice& device, const std::vector<int>& rows, const QString& title) const {
    BlockWriter out(device);
    out.text = QStringLiteral("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>") +
               htmlText(title) +
               QStringLiteral("</title>\r\n<style>table{border-collapse:collapse}"
                              "th,td{border:1px solid #c0c0c0;padding:2px 4px;vertical-align:top}"
                              "th{background:#e8e8e8;text-align:left}</style>\r\n</head>\r\n<body>\r\n"
                              "<table>\r\n<thead>\r\n<tr>");
    for (const QString& caption : m_captions)
        out.text += QStringLiteral("<th>") + htmlText(caption) + QStringLiteral("</th>");
    out.text += QStringLiteral("</tr>\r\n</thead>\r\n<tbody>\r\n");
    for (const int row : rows) {
        out.text += QStringLiteral("<tr>");
        for (std::size_t i = 0; i < m_columns.size(); ++i)
            out.text += QStringLiteral("<td>") +
                        htmlText(m_format.text(m_items.Value(row, m_columns[i]), m_formats[i])) +
                        QStringLiteral("</td>");
        out.text += QStringLiteral("</tr>\r\n");
        out.flush(false);
    }
    out.text += QStringLiteral("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n");
    out.flush(true);
}

void GridExport::writeFile(const QString& path, const std::vector<int>& rows, const QString& title) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("The file '%1' cannot be written: %2").arg(path, file.errorString()));
    if (isHtmlName(path))
        writeHtml(file, rows, title);
    else
        writeDelimited(file, rows);
    if (!CommitSaveFile(file))
        throw AppError(QStringLiteral("The file '%1' cannot be written: %2").arg(path, file.errorString()));
}
