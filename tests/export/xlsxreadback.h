#pragma once

#include <QList>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

// A workbook written by the export, read back from its zip with `unzip` and
// the XML of its parts: each cell of the first sheet as text, with the font
// styles of its pieces written as <b>, <i> and <u> around them.
struct XlsxReadBack
{
    QMap<QString, QString> cells; // "B3" -> "<b>Ważne</b> zboże"
    QStringList nonTextCells;     // cells stored as anything but a shared string
    QString sheetName, frozenPane; // the frozen pane's top left cell
    QList<double> widths;
    QString error;

    QString part(const QString &file, const QString &name)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, name});
        if (!unzip.waitForFinished(20000) || unzip.exitCode() != 0)
            error += name + u' ';
        return QString::fromUtf8(unzip.readAllStandardOutput());
    }

    static QList<QRegularExpressionMatch> all(const QString &pattern, const QString &text)
    {
        QList<QRegularExpressionMatch> found;
        for (const auto &match : QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption).globalMatch(text))
            found << match;
        return found;
    }

    // A text in the tags of the styles its font (or run properties) holds.
    static QString tagged(const QString &text, const QString &font)
    {
        QString shown = QString(text).replace(u"&lt;"_qs, u"<"_qs).replace(u"&gt;"_qs, u">"_qs).replace(u"&amp;"_qs, u"&"_qs);
        for (const QChar tag : {u'u', u'i', u'b'}) {
            if (font.contains(u'<' + tag + u'/') || font.contains(u'<' + tag + u' '))
                shown = u'<' + tag + u'>' + shown + u"</"_qs + tag + u'>';
        }
        return shown;
    }

    explicit XlsxReadBack(const QString &file)
    {
        const QString styles = part(file, QStringLiteral("xl/styles.xml"));
        QStringList fonts, styleFont;
        for (const auto &font : all(QStringLiteral("<font>(.*?)</font>"), styles))
            fonts << font.captured(1);
        const QString cellXfs = styles.section(QStringLiteral("<cellXfs"), 1).section(QStringLiteral("</cellXfs>"), 0, 0);
        for (const auto &xf : all(QStringLiteral("<xf [^>]*fontId=\"(\\d+)\""), cellXfs))
            styleFont << fonts.value(xf.captured(1).toInt());

        QStringList strings; // plain strings untagged until their cell's font is known
        QList<bool> rich;
        for (const auto &si : all(QStringLiteral("<si>(.*?)</si>"), part(file, QStringLiteral("xl/sharedStrings.xml")))) {
            QString text;
            const auto runs = all(QStringLiteral("<r>(?:<rPr>(.*?)</rPr>)?<t[^>]*>(.*?)</t></r>"), si.captured(1));
            for (const auto &run : runs)
                text += tagged(run.captured(2), run.captured(1));
            strings << (runs.isEmpty() ? all(QStringLiteral("<t[^>]*>(.*?)</t>"), si.captured(1)).value(0).captured(1) : text);
            rich << !runs.isEmpty();
        }
        const QString sheet = part(file, QStringLiteral("xl/worksheets/sheet1.xml"));
        for (const auto &c : all(QStringLiteral("<c r=\"(\\w+)\"( s=\"(\\d+)\")?( t=\"(\\w+)\")?><v>(.*?)</v></c>"), sheet)) {
            const int index = c.captured(6).toInt();
            if (c.captured(5) != u"s")
                nonTextCells << c.captured(1);
            else
                cells[c.captured(1)] = rich.value(index) ? strings.value(index)
                                                         : tagged(strings.value(index), styleFont.value(c.captured(3).toInt()));
        }
        frozenPane = all(QStringLiteral("<pane [^>]*topLeftCell=\"(\\w+)\"[^>]*state=\"frozen\""), sheet).value(0).captured(1);
        for (const auto &col : all(QStringLiteral("<col [^>]*width=\"([\\d.]+)\""), sheet))
            widths << col.captured(1).toDouble();
        sheetName = all(QStringLiteral("<sheet name=\"([^\"]*)\""), part(file, QStringLiteral("xl/workbook.xml"))).value(0).captured(1);
    }
};
