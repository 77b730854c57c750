#pragma once

#include "toolkit/components/LayoutTree.h"
#include "toolkit/components/Persistent.h"
#include "toolkit/components/Status.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An ordered list of text lines. Layouts store the lines as `Lines.Strings = ( 'a' 'b' )`.
// Subclasses (a memo's lines) keep the lines where they like and implement the five primitives.
class TStrings : public TPersistent {
    VARNEL_CLASS(TStrings, TPersistent)

public:
    virtual int Count() const = 0;
    // The line at index; "" outside 0 .. Count() - 1.
    virtual std::string Get(int index) const = 0;
    // Replaces the line at index; nothing outside the range.
    virtual void Put(int index, const std::string& s);
    // Inserts before index (clamped to 0 .. Count()).
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, const std::string& s) { Put(index, s); }
    // Appends a line and returns its index.
    int Add(const std::string& s);
    void AddStrings(const TStrings& other);
    // The first line equal to s, letter case ignored (ASCII); -1 when none.
    int IndexOf(std::string_view s) const;
    bool Equals(const TStrings& other) const;

    // The lines joined with CR LF between them (none after the last).
    std::string Text() const;
    // Replaces the lines by those of text, split at CR LF, LF or CR; "a\r\n" is two lines, "a"
    // and "", so Text() gives back exactly what was set. An empty text clears the list.
    void SetText(std::string_view text);

    // Changes between BeginUpdate and the matching EndUpdate are reported once, at the end.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    void Assign(const TPersistent* source) override;

protected:
    // Called when the outermost update begins (true) and ends (false).
    virtual void SetUpdateState(bool /*updating*/) {}

private:
    TStatus ReadStrings(const TLayoutValue& value);
    std::optional<TLayoutValue> WriteStrings() const;

    int m_updateCount = 0;
};

// Lines kept in memory, with change events.
class TStringList : public TStrings {
    VARNEL_CLASS(TStringList, TStrings)

public:
    TStringList() = default;

    int Count() const override { return static_cast<int>(m_lines.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int a, int b);

    // OnChanging before and OnChange after every change; inside an update, OnChanging before the
    // first change and OnChange once at its end, and neither when nothing changed.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool updating) override;

private:
    void Changing();
    void Changed();

    std::vector<std::string> m_lines;
    bool m_changedDuringUpdate = false;
    bool m_changingAnnounced = false; // OnChanging already fired in the current update
};
