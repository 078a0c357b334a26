// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The XML layer under fuzzing. Whatever the text: the first error lies in
// it; every attribute set on an element reads back as set and leaves the
// element's other attributes as they were; and when the text was
// well-formed, the edited text is too and parses again into exactly the
// elements and attributes that navigation shows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "profile/xml/MarkupDocument.h"
#include "profile/xml/TextCodec.h"

namespace {

using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

// Every element in document order, as navigation reaches it.
void dump(MarkupDocument& doc, int depth, std::wstring& out) {
    while (doc.nextElement()) {
        out += std::to_wstring(depth) + L' ' + doc.tagName();
        for (const auto& [name, value] : doc.attributes())
            out += L' ' + name + L"=\"" + MarkupDocument::escape(value) + L'"';
        out += L'\n';
        doc.enterElement();
        dump(doc, depth + 1, out);
        doc.leaveElement();
    }
}

std::wstring dump(MarkupDocument& doc) {
    std::wstring out;
    doc.resetPosition();
    dump(doc, 0, out);
    return out;
}

// The first attribute of that name takes the value, or it comes last.
Attributes withAttribute(Attributes attributes, const std::wstring& name, const std::wstring& value) {
    for (auto& attribute : attributes) {
        if (attribute.first == name) {
            attribute.second = value;
            return attributes;
        }
    }
    attributes.emplace_back(name, value);
    return attributes;
}

// Sets an existing and a new attribute on every element and gives every
// third element a child, checking each edit as it is made.
void edit(MarkupDocument& doc, const std::wstring& value, int& count) {
    while (doc.nextElement()) {
        const Attributes before = doc.attributes();
        const std::wstring name = before.empty() ? std::wstring(L"fz") : before.front().first;
        const std::wstring number = std::to_wstring(count);
        FUZZ_CHECK(doc.setAttribute(name, value) && doc.getAttribute(name) == value);
        FUZZ_CHECK(doc.setAttribute(L"added", count) && doc.getAttribute(L"added") == number);
        FUZZ_CHECK(doc.attributes() == withAttribute(withAttribute(before, name, value), L"added", number));
        doc.enterElement();
        if (count++ % 3 == 0)
            FUZZ_CHECK(doc.addElement(L"new"));
        else
            edit(doc, value, count);
        doc.leaveElement();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = TextCodec::decodeUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    MarkupDocument doc;
    const bool clean = doc.setDocument(text);
    FUZZ_CHECK(clean == (doc.firstError().offset < 0));
    FUZZ_CHECK(doc.firstError().offset <= static_cast<int>(text.size()));
    FUZZ_CHECK(MarkupDocument::unescape(MarkupDocument::escape(text)) == text);

    int count = 0;
    doc.resetPosition();
    edit(doc, L"<&\"'>" + text.substr(0, 8) + L"&amp;", count);
    // Only a well-formed text says where everything ends: after an element
    // that is never closed, a new sibling reads back as its child.
    if (clean) {
        MarkupDocument again;
        FUZZ_CHECK(again.setDocument(doc.document()));
        FUZZ_CHECK(dump(again) == dump(doc));
    }
    return 0;
}
