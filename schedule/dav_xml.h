// What the calendar-server readers need of an XML parser: the document as events, names
// with their namespace URIs resolved, text in UTF-8. The platform's parser stands behind it
// (XmlLite in the program, with DTDs prohibited); a document with a DTD is refused.
#pragma once

#include <stddef.h>

class XmlSink {
public:
    virtual ~XmlSink() = default;
    // Each returns false to stop the reading (the parse then fails).
    virtual bool start(const char* ns, const char* local) = 0;
    // An attribute of the element last started, before its content.
    virtual bool attribute(const char* ns, const char* local, const char* value) = 0;
    virtual bool text(const char* s, size_t n) = 0;
    virtual bool end() = 0;
};

struct XmlParser {
    void* context;
    // Reads data[0..n) and tells the sink. False when the document is not well-formed,
    // holds a DTD or an entity reference, or the sink stopped it.
    bool (*parse)(void* context, const char* data, size_t n, XmlSink* sink);
};
