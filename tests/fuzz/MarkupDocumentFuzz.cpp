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

struct Node {
    int depth;
    std::wstring name;
    Attributes attributes;
    friend bool operator==(const Node&, const Node&) = default;
};

// Every element in document order, as navigation reaches it.
void collect(MarkupDocument& doc, int depth, std::vector<Node>& nodes) {
    while (doc.nextElement()) {
        nodes.push_back({depth, doc.tagName(), doc.attributes()});
        doc.enterElement();
        collect(doc, depth + 1, nodes);
        doc.leaveElement();
    }
}

std::vector<Node> elementsOf(MarkupDocument& doc) {
    std::vector<Node> nodes;
    doc.resetPosition();
    collect(doc, 0, nodes);
    return nodes;
}

// The attributes after setting `name` to `value`: the first of that name
// changes, or the attribute is added at the end.
Attributes withAttribute(Attributes attributes, const std::wstring& name, const std::wstring& value) {
    for (auto& [n, v] : attributes) {
        if (n == name) {
            v = value;
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
        FUZZ_CHECK(doc.setAttribute(name, value));
        FUZZ_CHECK(doc.getAttribute(name) == value);
        FUZZ_CHECK(doc.setAttribute(L"added", count));
        FUZZ_CHECK(doc.getAttribute(L"added") == number);
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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = TextCodec::decodeUtf8(bytes);

    MarkupDocument doc;
    const bool clean = doc.setDocument(text);
    FUZZ_CHECK(clean == (doc.firstError().offset < 0));
    FUZZ_CHECK(doc.firstError().offset <= static_cast<int>(text.size()));
    const std::vector<Node> parsed = elementsOf(doc);
    FUZZ_CHECK(static_cast<int>(parsed.size()) <= doc.elementCount());

    // A value with everything that needs escaping, and a piece of the input.
    const std::wstring value = L"<&\"'>" + text.substr(0, 8) + L"&amp;";
    FUZZ_CHECK(MarkupDocument::unescape(MarkupDocument::escape(text)) == text);
    doc.resetPosition();
    int count = 0;
    edit(doc, value, count);

    // Only a well-formed text says where everything ends: after an element
    // that is never closed, a new sibling reads back as its child.
    if (clean) {
        const std::vector<Node> edited = elementsOf(doc);
        MarkupDocument again;
        FUZZ_CHECK(again.setDocument(doc.document()));
        FUZZ_CHECK(elementsOf(again) == edited);
    }
    return 0;
}
