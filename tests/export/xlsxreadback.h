#pragma once

#include <QList>

#include <array>
#include <utility>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QXmlStreamReader>

// A workbook written by the export, read back from its zip with `unzip` and
// its XML: each cell of the first sheet as text with its font styles written
// as <b>, <i> and <u> around the pieces that carry them.
struct XlsxReadBack
{
    QMap<QString, QString> cells; // "B3" -> "<b>Ważne</b> zboże"
    QStringList nonTextCells;     // cells stored as anything but a shared string
    QString sheetName;
    QString frozenPane; // the pane's topLeftCell when frozen
    QList<double> widths;
    QString error;

    static QByteArray part(const QString &file, const QString &name, QString *error)
    {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, name});
        if (!unzip.waitForFinished(20000) || unzip.exitCode() != 0)
            *error += QStringLiteral("no %1 in %2; ").arg(name, file);
        return unzip.readAllStandardOutput();
    }

    static QString tagged(const QString &text, bool b, bool i, bool u)
    {
        QString open, close;
        for (const auto &[on, tag] : {std::pair{b, 'b'}, std::pair{i, 'i'}, std::pair{u, 'u'}}) {
            if (on) {
                open += u'<' + QChar::fromLatin1(tag) + u'>';
                close.prepend(QStringLiteral("</") + QChar::fromLatin1(tag) + u'>');
            }
        }
        return open + text + close;
    }

    // The b, i, u children of a font or run-properties element, up to its end.
    static void readFont(QXmlStreamReader &xml, bool *b, bool *i, bool *u)
    {
        const QString end = xml.name().toString();
        *b = *i = *u = false;
        while (xml.readNext() != QXmlStreamReader::Invalid && !(xml.isEndElement() && xml.name() == end)) {
            if (xml.isStartElement()) {
                *b = *b || xml.name() == u"b";
                *i = *i || xml.name() == u"i";
                *u = *u || xml.name() == u"u";
            }
        }
    }

    explicit XlsxReadBack(const QString &file)
    {
        // Font of each cell style: fonts, then the cell formats naming them.
        QList<std::array<bool, 3>> fonts;
        QList<int> styleFont;
        QXmlStreamReader styles(part(file, QStringLiteral("xl/styles.xml"), &error));
        bool inCellXfs = false;
        while (!styles.atEnd()) {
            styles.readNext();
            if (styles.isStartElement() && styles.name() == u"font") {
                std::array<bool, 3> f{};
                readFont(styles, &f[0], &f[1], &f[2]);
                fonts << f;
            } else if (styles.isStartElement() && styles.name() == u"cellXfs") {
                inCellXfs = true;
            } else if (styles.isEndElement() && styles.name() == u"cellXfs") {
                inCellXfs = false;
            } else if (inCellXfs && styles.isStartElement() && styles.name() == u"xf") {
                styleFont << styles.attributes().value(QStringLiteral("fontId")).toInt();
            }
        }
        // Shared strings, plain (one <t>) or rich (runs with their own fonts).
        QStringList strings;
        QList<bool> rich;
        QXmlStreamReader shared(part(file, QStringLiteral("xl/sharedStrings.xml"), &error));
        QString current;
        bool b = false, i = false, u = false, inRun = false, hasRuns = false;
        while (!shared.atEnd()) {
            shared.readNext();
            if (shared.isStartElement() && shared.name() == u"si") {
                current.clear();
            } else if (shared.isEndElement() && shared.name() == u"si") {
                strings << current;
                rich << hasRuns;
                hasRuns = false;
            } else if (shared.isStartElement() && shared.name() == u"r") {
                inRun = hasRuns = true;
                b = i = u = false;
            } else if (shared.isStartElement() && shared.name() == u"rPr") {
                readFont(shared, &b, &i, &u);
            } else if (shared.isStartElement() && shared.name() == u"t") {
                const QString text = shared.readElementText();
                current += inRun ? tagged(text, b, i, u) : text;
            } else if (shared.isEndElement() && shared.name() == u"r") {
                inRun = false;
            }
        }
        QXmlStreamReader sheet(part(file, QStringLiteral("xl/worksheets/sheet1.xml"), &error));
        QString cell;
        int style = 0;
        bool isShared = false;
        while (!sheet.atEnd()) {
            sheet.readNext();
            if (!sheet.isStartElement())
                continue;
            const QXmlStreamAttributes a = sheet.attributes();
            if (sheet.name() == u"c") {
                cell = a.value(QStringLiteral("r")).toString();
                style = a.value(QStringLiteral("s")).toInt();
                isShared = a.value(QStringLiteral("t")) == u"s";
                if (!isShared)
                    nonTextCells << cell;
            } else if (sheet.name() == u"v" && isShared) {
                const int index = sheet.readElementText().toInt();
                const std::array<bool, 3> f = fonts.value(styleFont.value(style));
                const QString text = strings.value(index);
                cells[cell] = rich.value(index) ? text : tagged(text, f[0], f[1], f[2]);
            } else if (sheet.name() == u"pane" && a.value(QStringLiteral("state")) == u"frozen") {
                frozenPane = a.value(QStringLiteral("topLeftCell")).toString();
            } else if (sheet.name() == u"col") {
                widths << a.value(QStringLiteral("width")).toDouble();
            }
        }
        QXmlStreamReader workbook(part(file, QStringLiteral("xl/workbook.xml"), &error));
        while (!workbook.atEnd()) {
            if (workbook.readNext() == QXmlStreamReader::StartElement && workbook.name() == u"sheet")
                sheetName = workbook.attributes().value(QStringLiteral("name")).toString();
        }
    }
};
