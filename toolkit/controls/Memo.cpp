#include "toolkit/controls/Memo.h"

#include <algorithm>

VARNEL_CLASS_INFO(TMemoStrings)

VARNEL_CLASS_INFO(TCustomMemo, [](auto& c) {
    c.Object("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines).Unpublished();
    c.Enum("ScrollBars", ScrollStyleInfo, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
        .Default(ssNone)
        .Unpublished();
    c.Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
        .Default(true)
        .Unpublished();
    c.Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false).Unpublished();
    c.Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true).Unpublished();
})

VARNEL_CLASS_INFO(TMemo, [](auto& c) {
    for (const char* name :
         {"Align",       "Alignment",      "Anchors",     "BiDiMode",   "BorderStyle",    "Color",
          "Constraints", "Ctl3D",          "Enabled",     "Font",       "HideSelection",  "Lines",
          "MaxLength",   "ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",
          "ReadOnly",    "ScrollBars",     "ShowHint",    "TabOrder",   "TabStop",        "Visible",
          "WantReturns", "WantTabs",       "WordWrap",    "OnChange",   "OnClick",        "OnContextPopup",
          "OnDblClick",  "OnEnter",        "OnExit",      "OnKeyDown",  "OnKeyPress",     "OnKeyUp",
          "OnMouseDown", "OnMouseMove",    "OnMouseUp"}) {
        c.Publish(name);
    }
})

// ---- The lines
// ---------------------------------------------------------------------------------------------

int TMemoStrings::Count() const {
    return m_memo->LineCount();
}

std::string TMemoStrings::Get(int index) const {
    return m_memo->LineText(index);
}

void TMemoStrings::Put(int index, const std::string& s) {
    m_memo->PutLine(index, s);
}

void TMemoStrings::Insert(int index, const std::string& s) {
    m_memo->InsertLine(index, s);
}

void TMemoStrings::Delete(int index) {
    m_memo->DeleteLine(index);
}

void TMemoStrings::Clear() {
    m_memo->ClearLines();
}

TPersistent* TMemoStrings::GetOwner() const {
    return m_memo;
}

void TMemoStrings::SetUpdateState(bool updating) {
    if (updating) {
        m_memo->BeginLinesUpdate();
    } else {
        m_memo->EndLinesUpdate();
    }
}

// ---- The memo
// ------------------------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner, true), m_lines(std::make_unique<TMemoStrings>(this)) {
    SetBounds(Left(), Top(), 185, 89);
    SetWrapsRows(m_wordWrap);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (value == m_scrollBars) {
        return;
    }
    m_scrollBars = value;
    static constexpr DWORD kBits[] = {0, WS_HSCROLL, WS_VSCROLL, WS_VSCROLL | WS_HSCROLL};
    SetScrollBarStyle(kBits[value]);
}

void TCustomMemo::SetWordWrap(bool value) {
    if (value == m_wordWrap) {
        return;
    }
    m_wordWrap = value;
    SetWrapsRows(value);
}

TPoint TCustomMemo::CaretPos() const {
    const TTextBuffer& buffer = Buffer();
    const std::size_t caret = buffer.CharToByte(static_cast<std::size_t>(SelStart() + SelLength()));
    const int line = buffer.LineOfByte(caret);
    const auto column = buffer.ByteToChar(caret) - buffer.LineCharStart(line);
    return {static_cast<int>(column), line};
}

void TCustomMemo::SetCaretPos(TPoint value) {
    const TTextBuffer& buffer = Buffer();
    const int line = std::clamp(value.Y, 0, buffer.LineCount() - 1);
    const std::size_t column =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(0, value.X)), buffer.LineCharLength(line));
    SetSelStart(static_cast<int>(buffer.LineCharStart(line) + column));
}

void TCustomMemo::KeyPress(char32_t& key) {
    TCustomEdit::KeyPress(key);
    if ((key == U'\r' && !m_wantReturns) || (key == U'\t' && !m_wantTabs)) {
        key = 0;
    }
}

void TCustomMemo::WMGetDlgCode(TMessage& message) {
    TCustomEdit::WMGetDlgCode(message);
    if (m_wantTabs) {
        message.Result |= DLGC_WANTTAB;
    } else {
        message.Result &= ~DLGC_WANTTAB;
    }
    if (!m_wantReturns) {
        message.Result &= ~DLGC_WANTALLKEYS;
    }
}

void TCustomMemo::Change() {
    if (m_linesUpdating > 0) {
        m_changedWhileUpdating = true;
        return;
    }
    TCustomEdit::Change();
}

void TCustomMemo::TextChanged() {
    if (!m_changingLines) {
        m_oneEmptyLine = false;
    }
}

// ---- Line operations --------------------------------------------------------------------------------------

int TCustomMemo::LineCount() const {
    if (Text().empty()) {
        return m_oneEmptyLine ? 1 : 0;
    }
    return Buffer().LineCount();
}

std::string TCustomMemo::LineText(int index) const {
    if (index < 0 || index >= LineCount()) {
        return {};
    }
    return std::string(Buffer().Line(index));
}

void TCustomMemo::InsertLine(int index, const std::string& s) {
    const int count = LineCount();
    index = std::clamp(index, 0, count);
    const std::string line = PrepareInsert(s);
    const TTextBuffer& buffer = Buffer();
    m_changingLines = true;
    if (count == 0) {
        m_oneEmptyLine = line.empty();
        ProgramReplace(0, buffer.Size(), line);
    } else if (index == count) {
        m_oneEmptyLine = false;
        ProgramReplace(buffer.Size(), buffer.Size(), "\r\n" + line);
    } else {
        m_oneEmptyLine = false;
        const std::size_t start = buffer.LineStart(index);
        ProgramReplace(start, start, line + "\r\n");
    }
    m_changingLines = false;
}

void TCustomMemo::DeleteLine(int index) {
    const int count = LineCount();
    if (index < 0 || index >= count) {
        return;
    }
    const TTextBuffer& buffer = Buffer();
    m_changingLines = true;
    if (count == 1) {
        m_oneEmptyLine = false;
        ProgramReplace(0, buffer.Size(), std::string());
    } else {
        // One line is left: when it is empty, the text is empty but still holds it.
        m_oneEmptyLine = count == 2 && buffer.Line(index == 0 ? 1 : 0).empty();
        if (index < count - 1) {
            ProgramReplace(buffer.LineStart(index), buffer.LineStart(index + 1), std::string());
        } else {
            ProgramReplace(buffer.LineEnd(index - 1), buffer.Size(), std::string());
        }
    }
    m_changingLines = false;
}

void TCustomMemo::PutLine(int index, const std::string& s) {
    if (index < 0 || index >= LineCount()) {
        return;
    }
    const std::string line = PrepareInsert(s);
    const TTextBuffer& buffer = Buffer();
    m_changingLines = true;
    if (Text().empty()) {
        m_oneEmptyLine = line.empty();
        ProgramReplace(0, 0, line);
    } else {
        ProgramReplace(buffer.LineStart(index), buffer.LineEnd(index), line);
    }
    m_changingLines = false;
}

void TCustomMemo::ClearLines() {
    m_oneEmptyLine = false;
    Clear();
}

void TCustomMemo::BeginLinesUpdate() {
    ++m_linesUpdating;
}

void TCustomMemo::EndLinesUpdate() {
    if (m_linesUpdating == 0 || --m_linesUpdating > 0) {
        return;
    }
    if (m_changedWhileUpdating) {
        m_changedWhileUpdating = false;
        if (!IsLoading()) {
            TCustomEdit::Change();
        }
    }
}
