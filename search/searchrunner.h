#pragma once

#include <QString>

class Workspace;

// The searches behind Find and Find next, each over one scope from a start
// position, with the search state of the workspace: the open topic, the
// titles of the tree and the contents of every topic. A hit is shown and
// the resume point moved past it; no hit ends in the not-found message.
class SearchRunner
{
public:
    // The contents resume point "start of topic ResumeItem" is written as
    // this ResumeLine; Find's own start positions use it as well.
    static constexpr int StartOfTopic = -1;

    explicit SearchRunner(Workspace &workspace);

    // The open topic (the one on screen in the view of SearchStartTopic's
    // kind), from a row or line; runByFind marks Find's own search, which
    // sets ResumeItem on a hit.
    void searchOpenTopic(int start, bool runByFind);
    // The tree's captions in tree order, from a position in that order.
    void searchTitles(int startPosition);
    // Every topic from resumeTopic on, each opened into its view without
    // recording the visit; resumeLine is where to start within resumeTopic.
    void searchContents(int resumeTopic, int resumeLine);

    // The message shown when a search finds nothing.
    static QString notFoundMessage();

private:
    // The contents search up to the message: true when a hit was opened,
    // false when the start topic was put back.
    bool scanContents(int resumeTopic, int resumeLine);
    void nothingFound();
    void selectTreeNodeOf(int topic);
    void showTableRow(int row);
    void showTextLine(int line);

    Workspace &m_workspace;
};
