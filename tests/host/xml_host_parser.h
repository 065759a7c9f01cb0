// The XML parser behind the calendar-server readers on the host: libxml2's text reader with
// network access off, no entity substitution and no DTD loading; a document type
// declaration or an entity reference is refused, as XmlLite refuses them in the program.
// Used by the host tests and the fuzz target of the multistatus reader.
#pragma once

#include <libxml/xmlreader.h>
#include <string.h>

#include "schedule/dav_xml.h"

namespace xml_host {

inline const char* str(const xmlChar* s) { return s ? (const char*)s : ""; }

inline bool attributes(xmlTextReaderPtr r, XmlSink* sink) {
    while (xmlTextReaderMoveToNextAttribute(r) == 1) {
        if (xmlTextReaderIsNamespaceDecl(r)) continue;
        if (!sink->attribute(str(xmlTextReaderConstNamespaceUri(r)),
                             str(xmlTextReaderConstLocalName(r)), str(xmlTextReaderConstValue(r))))
            return false;
    }
    xmlTextReaderMoveToElement(r);
    return true;
}

// One node; false stops the reading.
inline bool node(xmlTextReaderPtr r, XmlSink* sink) {
    switch (xmlTextReaderNodeType(r)) {
    case XML_READER_TYPE_ELEMENT: {
        if (!sink->start(str(xmlTextReaderConstNamespaceUri(r)), str(xmlTextReaderConstLocalName(r))))
            return false;
        const bool empty = xmlTextReaderIsEmptyElement(r) == 1;
        if (!attributes(r, sink)) return false;
        return !empty || sink->end();
    }
    case XML_READER_TYPE_END_ELEMENT:
        return sink->end();
    case XML_READER_TYPE_TEXT:
    case XML_READER_TYPE_CDATA:
    case XML_READER_TYPE_WHITESPACE:
    case XML_READER_TYPE_SIGNIFICANT_WHITESPACE: {
        const char* v = str(xmlTextReaderConstValue(r));
        return sink->text(v, strlen(v));
    }
    case XML_READER_TYPE_DOCUMENT_TYPE:
    case XML_READER_TYPE_ENTITY_REFERENCE:
    case XML_READER_TYPE_ENTITY:
        return false;
    default:
        return true;
    }
}

// libxml2 reports some errors through its global handlers whatever the options say.
inline void quiet(void*, const char*, ...) {}

inline bool parse(void*, const char* data, size_t n, XmlSink* sink) {
    if (n > 0x7FFFFFFF) return false;
    xmlSetGenericErrorFunc(nullptr, quiet);
    xmlTextReaderPtr r = xmlReaderForMemory(data, (int)n, nullptr, nullptr,
                                            XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!r) return false;
    int status = -1;
    bool ok = true;
    while (ok && (status = xmlTextReaderRead(r)) == 1) ok = node(r, sink);
    xmlFreeTextReader(r);
    return ok && status == 0;
}

inline XmlParser parser() { return XmlParser{nullptr, parse}; }

}  // namespace xml_host
