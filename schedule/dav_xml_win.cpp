#include "schedule/dav_xml_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <string>

#include "config/utf16_win.h"

namespace {

using CreateReaderFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// XmlLite has no import library here: looked up once, whichever thread comes first.
CreateReaderFn create_reader() {
    static const CreateReaderFn fn = [] {
        HMODULE m = LoadLibraryW(L"xmllite.dll");
        return m ? reinterpret_cast<CreateReaderFn>(
                       reinterpret_cast<void (*)()>(GetProcAddress(m, "CreateXmlReader")))
                 : nullptr;
    }();
    return fn;
}

// Releases a COM interface at the end of a scope.
template <class T>
struct Held {
    T* p = nullptr;
    ~Held() {
        if (p) p->Release();
    }
};

std::string name_part(IXmlReader* r, HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR*, UINT*)) {
    LPCWSTR s = nullptr;
    UINT n = 0;
    if (FAILED((r->*get)(&s, &n))) return std::string();
    return utf8_of(s, n);
}

bool attributes(IXmlReader* r, XmlSink* sink) {
    for (HRESULT hr = r->MoveToFirstAttribute(); hr == S_OK; hr = r->MoveToNextAttribute()) {
        if (r->IsDefault()) continue;
        const std::string ns = name_part(r, &IXmlReader::GetNamespaceUri);
        if (ns == "http://www.w3.org/2000/xmlns/") continue;
        const std::string local = name_part(r, &IXmlReader::GetLocalName);
        const std::string value = name_part(r, &IXmlReader::GetValue);
        if (!sink->attribute(ns.c_str(), local.c_str(), value.c_str())) return false;
    }
    r->MoveToElement();
    return true;
}

bool node(IXmlReader* r, XmlNodeType type, XmlSink* sink) {
    switch (type) {
    case XmlNodeType_Element: {
        const bool empty = r->IsEmptyElement() != FALSE;
        const std::string ns = name_part(r, &IXmlReader::GetNamespaceUri);
        const std::string local = name_part(r, &IXmlReader::GetLocalName);
        if (!sink->start(ns.c_str(), local.c_str()) || !attributes(r, sink)) return false;
        return !empty || sink->end();
    }
    case XmlNodeType_EndElement:
        return sink->end();
    case XmlNodeType_Text:
    case XmlNodeType_CDATA:
    case XmlNodeType_Whitespace: {
        const std::string v = name_part(r, &IXmlReader::GetValue);
        return sink->text(v.data(), v.size());
    }
    case XmlNodeType_DocumentType:
        return false;
    default:
        return true;
    }
}

bool parse(void*, const char* data, size_t n, XmlSink* sink) {
    const CreateReaderFn create = create_reader();
    if (!create || n > 0x7FFFFFFF) return false;
    Held<IStream> stream;
    stream.p = SHCreateMemStream(reinterpret_cast<const BYTE*>(data), (UINT)n);
    Held<IXmlReader> reader;
    if (!stream.p || FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader.p), nullptr)))
        return false;
    if (FAILED(reader.p->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader.p->SetProperty(XmlReaderProperty_MaxElementDepth, 256)) ||
        FAILED(reader.p->SetInput(stream.p)))
        return false;
    XmlNodeType type;
    HRESULT hr;
    while ((hr = reader.p->Read(&type)) == S_OK)
        if (!node(reader.p, type, sink)) return false;
    return hr == S_FALSE;
}

}  // namespace

XmlParser xml_parser_win() { return XmlParser{nullptr, parse}; }
