#pragma once
// Every read of vbXML on a document that may be hostile: each answers, with a result or (the
// unguarded reads) an AppError, whatever was loaded.

#include <functional>

#include "platform/AppError.h"
#include "xml/vbXML.h"

inline void ReadEverything(vbXML& xml, const std::wstring& query) {
    xml.ReadAttribute(query, L"name");
    xml.ReadNode(query);
    xml.NodeCount(query);
    xml.GetChildValue(query, 0);
    xml.GetChildValue(query, 1);
    xml.GetChildAttribute(query, L"name", 0);
    const std::function<void()> unguarded[] = {
        [&] { xml.ReadNodeXML(query); }, [&] { xml.GetChildName(query, 0); }, [&] { xml.XML(); },
        [&] { xml.XMLDocumentInfo(0); }, [&] { xml.XMLDocumentInfo(2); }};
    for (const auto& read : unguarded) {
        try {
            read();
        } catch (const AppError&) {
        }
    }
}
