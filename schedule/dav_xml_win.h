// The platform's XML parser behind the calendar-server readers: XmlLite, with DTDs
// prohibited and a bounded nesting depth. Safe to use from any thread.
#pragma once

#include "schedule/dav_xml.h"

XmlParser xml_parser_win();
