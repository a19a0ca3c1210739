#include "ecombobox.h"

#include "desktop.h"
#include "keys.h"

using gui::Change;

eListBoxEntry::eListBoxEntry(eListBoxBase *list) : list(list) {}

eListBoxEntry::~eListBoxEntry() = default;

eListBoxBase::~eListBoxBase()
{
    auto owned = std::move(entries);
    entries.clear();
}

void eListBoxBase::clearList()
{
    auto owned = std::move(entries);
    entries.clear();
    owned.clear();
    listChanged();
}

eListBoxEntry *eListBoxBase::entryAt(int index) const
{
    if (index < 0 || index >= getCount())
        return nullptr;
    return entries[index].get();
}

int eListBoxBase::indexOf(const eListBoxEntry *entry) const
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].get() == entry)
            return static_cast<int>(i);
    return -1;
}

void eListBoxBase::append(eListBoxEntry *entry)
{
    entries.emplace_back(entry);
    listChanged();
}

eListBoxEntryText::eListBoxEntryText(eListBoxBase *list, const char *text, void *key, int,
                                     const eString &helpText, int)
    : eListBoxEntryText(list, eString(text), key, 0, helpText, 0)
{
}

eListBoxEntryText::eListBoxEntryText(eListBoxBase *list, const eString &text, void *key, int,
                                     const eString &helpText, int)
    : eListBoxEntry(list), text(text), key(key), helpText(helpText)
{
    // Last, so that the list sees a complete row.
    if (list)
        list->append(this);
}

// The key is not owned (key type 0 is the only one the box uses).
eListBoxEntryText::~eListBoxEntryText() = default;

eComboBox::eComboBox(eWidget *parent, int openEntries, eLabel *description, int takeFocus,
                     const char *decoration)
    : eButton(parent, description, takeFocus, decoration), openEntries(openEntries)
{
}

eComboBox::~eComboBox() = default;

eListBoxEntryText *eComboBox::getCurrent() const
{
    return dynamic_cast<eListBoxEntryText *>(entryAt(current));
}

int eComboBox::setCurrent(int index, bool sendSignal)
{
    if (index < 0 || index >= getCount())
        return -1;
    current = index;
    showCurrent();
    if (sendSignal)
        selchanged.emit(getCurrent());
    return 0;
}

void eComboBox::showCurrent()
{
    const eListBoxEntryText *row = getCurrent();
    setText(row ? row->getText() : eString());
}

void eComboBox::listChanged()
{
    if (current >= getCount())
        current = -1;
    if (current < 0 && getCount() > 0)
        current = 0;
    if (highlighted >= getCount())
        highlighted = getCount() - 1;
    showCurrent();
    // Rows appended to a closed list change nothing that can be seen.
    if (open)
        changed(static_cast<int>(Change::Content));
}

bool eComboBox::handleKey(int key)
{
    const int count = getCount();
    if (!open) {
        switch (key) {
        case gui::KeyOk:
            open = true;
            highlighted = current < 0 ? 0 : current;
            changed(static_cast<int>(Change::Content));
            return true;
        case gui::KeyLeft:
            if (count > 0)
                setCurrent((current + count - 1) % count, true);
            return true;
        case gui::KeyRight:
            if (count > 0)
                setCurrent((current + 1) % count, true);
            return true;
        default:
            return false;
        }
    }
    switch (key) {
    case gui::KeyUp:
    case gui::KeyLeft:
        if (highlighted > 0)
            --highlighted;
        break;
    case gui::KeyDown:
    case gui::KeyRight:
        if (highlighted + 1 < count)
            ++highlighted;
        break;
    case gui::KeyOk:
        open = false;
        if (highlighted >= 0 && highlighted < count) {
            current = highlighted;
            showCurrent();
            changed(static_cast<int>(Change::Content));
            selchanged.emit(getCurrent());
            return true;
        }
        break;
    case gui::KeyExit:
        open = false;
        break;
    default:
        break; // an open list takes every other key
    }
    changed(static_cast<int>(Change::Content));
    return true;
}

bool eComboBox::endEntry()
{
    if (!open)
        return false;
    open = false;
    changed(static_cast<int>(Change::Content));
    return true;
}
