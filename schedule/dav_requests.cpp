#include "schedule/dav_requests.h"

namespace {

const char kHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

}  // namespace

std::string xml_escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string dav_body_propfind() {
    return std::string(kHead) +
           "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\""
           " xmlns:cs=\"http://calendarserver.org/ns/\"><d:prop>"
           "<d:resourcetype/><d:displayname/><d:current-user-principal/>"
           "<c:calendar-home-set/><c:supported-calendar-component-set/>"
           "<d:sync-token/><cs:getctag/>"
           "</d:prop></d:propfind>\n";
}

std::string dav_body_event_etags() {
    return std::string(kHead) +
           "<c:calendar-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
           "<d:prop><d:getetag/></d:prop>"
           "<c:filter><c:comp-filter name=\"VCALENDAR\"><c:comp-filter name=\"VEVENT\"/>"
           "</c:comp-filter></c:filter></c:calendar-query>\n";
}

std::string dav_body_multiget(const std::vector<std::string>& hrefs) {
    std::string s = std::string(kHead) +
                    "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                    "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
    for (const std::string& h : hrefs) s += "<d:href>" + xml_escape(h) + "</d:href>";
    return s + "</c:calendar-multiget>\n";
}

std::string dav_body_sync_collection(const std::string& token) {
    return std::string(kHead) + "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" +
           xml_escape(token) +
           "</d:sync-token><d:sync-level>1</d:sync-level>"
           "<d:prop><d:getetag/></d:prop></d:sync-collection>\n";
}
