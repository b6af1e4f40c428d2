#pragma once

#include <QList>
#include <QString>

class QTextDocument;

// What a test compares of a document: its text in a fixed plain form, a
// description of its structure and formats, and the text of HTML oracles.
namespace DocumentText {

// Paragraphs end with "\n"; a table row is its cells, each ended by "|",
// then "\n"; a line break inside a paragraph is "\n"; pictures are left out.
QString plain(const QTextDocument &doc);

// White space runs (line breaks and cell separators included) become one
// space; leading and trailing space goes.
QString normalised(const QString &text);

// Every paragraph with its block format and its runs with their character
// formats, tables with their shape and cells: equal dumps mean the same
// text and formats.
QString dump(const QTextDocument &doc);

// The text of an HTML fragment: block elements become spaces, inline
// elements vanish, entities are decoded, and the line breaks that a dump
// puts before each tag are dropped.
QString htmlText(const QString &html);

// The character format of the run holding text (its first occurrence), and
// the block format of its paragraph, described as dump() does; empty when
// the text is not found.
QString charFormatOf(const QTextDocument &doc, const QString &text);
QString blockFormatOf(const QTextDocument &doc, const QString &text);

struct Link
{
    QString href;
    QString text;
};
// Hyperlinks, one per run of characters with the same target in a paragraph.
QList<Link> links(const QTextDocument &doc);

} // namespace DocumentText
