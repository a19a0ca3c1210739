#include "xmltree.h"

#include <cstring>
#include <deque>
#include <expat.h>
#include <memory_resource>
#include <string>
#include <utility>
#include <vector>

// Strings from the parser's arena: a directory of thousands of stations is a few large
// allocations, and freeing the tree is freeing the arena.
struct XMLTreeNode::Content {
    using String = std::pmr::string;
    String name;
    String data;
    std::pmr::vector<std::pair<String, String>> attributes;
    explicit Content(std::pmr::memory_resource *arena) : name(arena), data(arena), attributes(arena)
    {
    }
};

XMLTreeNode::XMLTreeNode(XMLTreeNode *parent, Content *content) : parent(parent), content(content)
{
}

XMLTreeNode::~XMLTreeNode() = default;

void XMLTreeNode::appendChild(XMLTreeNode *node)
{
    if (lastChild)
        lastChild->next = node;
    else
        child = node;
    lastChild = node;
}

void XMLTreeNode::appendData(const char *text, int length)
{
    content->data.append(text, length);
}

const char *XMLTreeNode::GetType() const
{
    return content->name.c_str();
}

const char *XMLTreeNode::GetData() const
{
    return content->data.c_str();
}

const char *XMLTreeNode::GetAttributeValue(const char *name) const
{
    if (!name)
        return nullptr;
    for (const auto &attribute : content->attributes)
        if (attribute.first == name)
            return attribute.second.c_str();
    return nullptr;
}

struct XMLTreeParser::Impl {
    // First, so that it outlives the nodes whose contents it holds.
    std::pmr::monotonic_buffer_resource arena{64 * 1024};
    std::string encoding;
    bool hasEncoding = false;
    XML_Parser parser = nullptr;
    // Every node of the tree, in document order; a flat container frees any depth of nesting
    // without recursion.
    std::deque<XMLTreeNode> nodes;
    XMLTreeNode *root = nullptr;
    XMLTreeNode *currentNode = nullptr;

    ~Impl()
    {
        if (parser)
            XML_ParserFree(parser);
    }

    void create(const char *text, int length);

    static void startElement(void *userData, const XML_Char *name, const XML_Char **attributes)
    {
        auto *self = static_cast<Impl *>(userData);
        // Never destroyed one by one: the monotonic arena frees all contents at once.
        void *place =
            self->arena.allocate(sizeof(XMLTreeNode::Content), alignof(XMLTreeNode::Content));
        auto *content = new (place) XMLTreeNode::Content(&self->arena);
        content->name = name;
        for (int i = 0; attributes[i]; i += 2)
            content->attributes.emplace_back(std::piecewise_construct,
                                             std::forward_as_tuple(attributes[i]),
                                             std::forward_as_tuple(attributes[i + 1]));
        self->nodes.emplace_back(self->currentNode, content);
        XMLTreeNode *node = &self->nodes.back();
        if (self->currentNode)
            self->currentNode->appendChild(node);
        else if (!self->root)
            self->root = node;
        self->currentNode = node;
    }

    static void endElement(void *userData, const XML_Char *)
    {
        auto *self = static_cast<Impl *>(userData);
        if (self->currentNode)
            self->currentNode = self->currentNode->GetParent();
    }

    static void characterData(void *userData, const XML_Char *text, int length)
    {
        auto *self = static_cast<Impl *>(userData);
        if (self->currentNode)
            self->currentNode->appendData(text, length);
    }
};

namespace
{
// Whether the document starts with an XML declaration that names its encoding, or with a
// byte-order mark: then the document decides, not the encoding given to the parser.
bool declaresEncoding(const char *text, int length)
{
    if (length >= 2 &&
        ((text[0] == '\xFE' && text[1] == '\xFF') || (text[0] == '\xFF' && text[1] == '\xFE')))
        return true;
    if (length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        length -= 3;
    }
    if (length < 5 || memcmp(text, "<?xml", 5) != 0)
        return false;
    const char *end = static_cast<const char *>(memchr(text, '>', length));
    const std::string declaration(text, end ? end - text : length);
    return declaration.find("encoding") != std::string::npos;
}
} // namespace

void XMLTreeParser::Impl::create(const char *text, int length)
{
    const bool documentDecides = !hasEncoding || declaresEncoding(text, length);
    parser = XML_ParserCreate(documentDecides ? nullptr : encoding.c_str());
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &Impl::startElement, &Impl::endElement);
    XML_SetCharacterDataHandler(parser, &Impl::characterData);
}

XMLTreeParser::XMLTreeParser(const char *encoding) : impl(std::make_unique<Impl>())
{
    if (encoding) {
        impl->encoding = encoding;
        impl->hasEncoding = true;
    }
}

XMLTreeParser::~XMLTreeParser() = default;

int XMLTreeParser::Parse(const char *text, int length, int isFinal)
{
    if (length < 0 || (!text && length > 0))
        return 0;
    if (!impl->parser) {
        // The first piece shows whether the document declares its own encoding.
        if (length == 0 && !isFinal)
            return 1;
        impl->create(text, length);
    }
    return XML_Parse(impl->parser, text, length, isFinal) == XML_STATUS_OK ? 1 : 0;
}

int XMLTreeParser::GetErrorCode() const
{
    return impl->parser ? static_cast<int>(XML_GetErrorCode(impl->parser)) : 0;
}

const char *XMLTreeParser::ErrorString(int code)
{
    const XML_LChar *text = XML_ErrorString(static_cast<XML_Error>(code));
    return text ? text : "unknown error";
}

int XMLTreeParser::GetCurrentLineNumber() const
{
    return impl->parser ? static_cast<int>(XML_GetCurrentLineNumber(impl->parser)) : 1;
}

XMLTreeNode *XMLTreeParser::RootNode() const
{
    return impl->root;
}
