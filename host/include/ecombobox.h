#ifndef QUENLORA_ECOMBOBOX_H
#define QUENLORA_ECOMBOBOX_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <memory>
#include <vector>

#include "ebutton.h"

class eListBoxBase;

// One row of a list.
class eListBoxEntry
{
public:
    explicit eListBoxEntry(eListBoxBase *list);
    virtual ~eListBoxEntry();
    virtual const eString &getText() const = 0;

protected:
    eListBoxBase *list;
};

// A list of rows that owns them.
class eListBoxBase
{
public:
    virtual ~eListBoxBase();
    // Deletes every row.
    void clearList();
    int getCount() const { return static_cast<int>(entries.size()); }
    eListBoxEntry *entryAt(int index) const;
    int indexOf(const eListBoxEntry *entry) const;

    // Takes a new row at the end; rows call it from their constructor.
    void append(eListBoxEntry *entry);

protected:
    virtual void listChanged() {}

private:
    std::vector<std::unique_ptr<eListBoxEntry>> entries;
};

// A text row with an untyped key.
class eListBoxEntryText : public eListBoxEntry
{
public:
    // keyType 0: the row does not own its key.
    eListBoxEntryText(eListBoxBase *list, const char *text = nullptr, void *key = nullptr,
                      int align = 0, const eString &helpText = eString(), int keyType = 0);
    eListBoxEntryText(eListBoxBase *list, const eString &text, void *key = nullptr, int align = 0,
                      const eString &helpText = eString(), int keyType = 0);
    ~eListBoxEntryText() override;
    const eString &getText() const override { return text; }
    void *getKey() const { return key; }
    const eString &getHelpText() const { return helpText; }

private:
    eString text;
    void *key;
    eString helpText;
};

// A chooser: shows its current row; OK opens the list, the arrows choose, OK takes, Exit cancels.
class eComboBox : public eButton, public eListBoxBase
{
public:
    eComboBox(eWidget *parent, int openEntries = 4, eLabel *description = nullptr,
              int takeFocus = 1, const char *decoration = "eComboBox");
    ~eComboBox() override;

    eListBoxEntryText *getCurrent() const;
    // Makes row index current; sendSignal emits selchanged.
    int setCurrent(int index, bool sendSignal = false);
    int getCurrentIndex() const { return current; }
    int getOpenEntries() const { return openEntries; }
    bool isOpen() const { return open; }
    int getHighlighted() const { return highlighted; }

    const char *className() const override { return "eComboBox"; }
    bool handleKey(int key) override;
    bool endEntry() override;

    SigC::Signal1<void, eListBoxEntryText *> selchanged;

protected:
    void listChanged() override;

private:
    void showCurrent();

    int openEntries;
    int current = -1;
    bool open = false;
    int highlighted = -1;
};

#pragma GCC visibility pop

#endif
