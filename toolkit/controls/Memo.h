#pragma once

#include "toolkit/components/StringList.h"
#include "toolkit/controls/Edit.h"

#include <memory>

class TCustomMemo;

// The lines of a memo as a string list: a view of the memo's text, which holds them separated by
// CR LF, so Lines.Text and the memo's Text are the same string. An empty memo has no lines; a
// memo given one empty line holds it although its text is empty. Adding a line at the end costs
// only the line itself. Changes made between BeginUpdate and EndUpdate fire the memo's OnChange
// once, at the end.
class TMemoStrings : public TStrings {
    VARNEL_CLASS(TMemoStrings, TStrings)

public:
    explicit TMemoStrings(TCustomMemo* memo) : m_memo(memo) {}

    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

    TPersistent* GetOwner() const override;

protected:
    void SetUpdateState(bool updating) override;

private:
    TCustomMemo* m_memo;
};

// The many-line edit: word wrapping, native scroll bars, Enter and Tab as text when wanted, and
// Lines. With WordWrap the rows break at the formatting rectangle's width and the edit messages
// count rows (as the classic memo does); Lines always counts the lines between line breaks.
class TCustomMemo : public TCustomEdit {
    VARNEL_CLASS(TCustomMemo, TCustomEdit)

public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return m_lines.get(); }
    void SetLines(const TStrings* value) { m_lines->Assign(value); }

    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool value) { m_wantReturns = value; }
    bool WantTabs() const { return m_wantTabs; }
    void SetWantTabs(bool value) { m_wantTabs = value; }

    // The caret's place as (column, line) in characters, lines as Lines counts them.
    TPoint CaretPos() const;
    void SetCaretPos(TPoint value);

protected:
    friend class TMemoStrings;

    void KeyPress(char32_t& key) override;
    void WMGetDlgCode(TMessage& message) override;
    void Change() override;
    void TextChanged() override;

    // ---- For the lines ----
    int LineCount() const;
    std::string LineText(int index) const;
    void InsertLine(int index, const std::string& s);
    void DeleteLine(int index);
    void PutLine(int index, const std::string& s);
    void ClearLines();
    void BeginLinesUpdate();
    void EndLinesUpdate();

private:
    std::unique_ptr<TMemoStrings> m_lines;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
    bool m_wantReturns = true;
    bool m_wantTabs = false;
    // The text is empty but holds one empty line (Lines.Add("") on an empty memo).
    bool m_oneEmptyLine = false;
    bool m_changingLines = false; // a line operation is changing the text
    int m_linesUpdating = 0;
    bool m_changedWhileUpdating = false;
};

class TMemo : public TCustomMemo {
    VARNEL_CLASS(TMemo, TCustomMemo)

public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};
