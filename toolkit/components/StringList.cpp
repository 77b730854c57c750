#include "toolkit/components/StringList.h"

#include "toolkit/components/Properties.h"

#include <algorithm>
#include <strings.h>

VARNEL_CLASS_INFO(TStrings,
                  [](auto& c) { c.ValueData("Strings", &TStrings::ReadStrings, &TStrings::WriteStrings); })
VARNEL_CLASS_INFO(TStringList)

// --- TStrings ---

void TStrings::Put(int index, const std::string& s) {
    if (index < 0 || index >= Count()) {
        return;
    }
    BeginUpdate();
    Delete(index);
    Insert(index, s);
    EndUpdate();
}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    int n = other.Count(); // fixed first: other may be this list
    for (int i = 0; i < n; ++i) {
        Add(other.Get(i));
    }
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i) {
        std::string line = Get(i);
        if (line.size() == s.size() && strncasecmp(line.data(), s.data(), s.size()) == 0) {
            return i;
        }
    }
    return -1;
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) {
        return false;
    }
    for (int i = 0; i < Count(); ++i) {
        if (Get(i) != other.Get(i)) {
            return false;
        }
    }
    return true;
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += Get(i);
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    Clear();
    if (!text.empty()) {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
                Add(std::string(text.substr(start, i - start)));
                if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                    ++i;
                }
                start = i + 1;
            }
        }
    }
    EndUpdate();
}

void TStrings::BeginUpdate() {
    if (m_updateCount++ == 0) {
        SetUpdateState(true);
    }
}

void TStrings::EndUpdate() {
    if (m_updateCount > 0 && --m_updateCount == 0) {
        SetUpdateState(false);
    }
}

void TStrings::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom<TStrings>()) {
        const auto* other = static_cast<const TStrings*>(source);
        if (other == this) {
            return;
        }
        BeginUpdate();
        Clear();
        AddStrings(*other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

TStatus TStrings::ReadStrings(const TLayoutValue& value) {
    if (value.type != TLayoutValue::TType::List) {
        return TStatus::Fail("A list of strings ( 'a' 'b' ) expected");
    }
    for (const TLayoutValue& line : value.list) {
        if (line.type != TLayoutValue::TType::String) {
            return TStatus::Fail("Only strings may stand in a list of lines");
        }
    }
    BeginUpdate();
    Clear();
    for (const TLayoutValue& line : value.list) {
        Add(line.text);
    }
    EndUpdate();
    return TStatus::Ok();
}

std::optional<TLayoutValue> TStrings::WriteStrings() const {
    if (Count() == 0) {
        return std::nullopt;
    }
    TLayoutValue value;
    value.type = TLayoutValue::TType::List;
    for (int i = 0; i < Count(); ++i) {
        value.list.push_back(TLayoutValue::Str(Get(i)));
    }
    return value;
}

// --- TStringList ---

std::string TStringList::Get(int index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    return m_lines[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, const std::string& s) {
    if (index < 0 || index >= Count() || m_lines[static_cast<std::size_t>(index)] == s) {
        return;
    }
    Changing();
    m_lines[static_cast<std::size_t>(index)] = s;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    index = std::clamp(index, 0, Count());
    Changing();
    m_lines.insert(m_lines.begin() + index, s);
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) {
        return;
    }
    Changing();
    m_lines.erase(m_lines.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (m_lines.empty()) {
        return;
    }
    Changing();
    m_lines.clear();
    Changed();
}

void TStringList::Exchange(int a, int b) {
    if (a < 0 || b < 0 || a >= Count() || b >= Count() || a == b) {
        return;
    }
    Changing();
    std::swap(m_lines[static_cast<std::size_t>(a)], m_lines[static_cast<std::size_t>(b)]);
    Changed();
}

void TStringList::Changing() {
    // Inside an update only the first change announces itself.
    if (UpdateCount() > 0) {
        if (m_changingAnnounced) {
            return;
        }
        m_changingAnnounced = true;
    }
    if (OnChanging) {
        OnChanging(this);
    }
}

void TStringList::Changed() {
    if (UpdateCount() > 0) {
        m_changedDuringUpdate = true;
    } else if (OnChange) {
        OnChange(this);
    }
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) {
        m_changedDuringUpdate = false;
        m_changingAnnounced = false;
        return;
    }
    m_changingAnnounced = false;
    if (m_changedDuringUpdate) {
        m_changedDuringUpdate = false;
        if (OnChange) {
            OnChange(this);
        }
    }
}
