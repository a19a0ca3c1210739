// A parse tree of an XML document, built with expat.
#ifndef QUENLORA_XMLTREE_H
#define QUENLORA_XMLTREE_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <memory>

class XMLTreeNode
{
public:
    XMLTreeNode *GetChild() const { return child; }
    XMLTreeNode *GetNext() const { return next; }
    XMLTreeNode *GetParent() const { return parent; }
    // The element name.
    const char *GetType() const;
    // The character data directly inside the element, joined; "" when there is none.
    const char *GetData() const;
    // The value of the named attribute, or null.
    const char *GetAttributeValue(const char *name) const;

    // What an element holds; it lives in its parser's arena and goes with it.
    struct Content;
    XMLTreeNode(XMLTreeNode *parent, Content *content);
    ~XMLTreeNode();
    void appendChild(XMLTreeNode *node);
    void appendData(const char *text, int length);

private:
    XMLTreeNode *parent;
    XMLTreeNode *child = nullptr;
    XMLTreeNode *lastChild = nullptr;
    XMLTreeNode *next = nullptr;
    Content *content;
};

class XMLTreeParser
{
public:
    // The encoding applies to documents that declare none; null lets the document decide.
    explicit XMLTreeParser(const char *encoding = nullptr);
    virtual ~XMLTreeParser();

    // Parses the next piece; isFinal marks the last one. Nonzero on success.
    virtual int Parse(const char *text, int length, int isFinal);
    int GetErrorCode() const;
    static const char *ErrorString(int code);
    int GetCurrentLineNumber() const;
    // The document element, or null when none was seen.
    XMLTreeNode *RootNode() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl;
};

#pragma GCC visibility pop

#endif
