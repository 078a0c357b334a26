// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/xml/MarkupDocument.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

// Navigates from the top to the first element of each name in turn, entering
// every one but the last.
bool walk(MarkupDocument& doc, std::initializer_list<const wchar_t*> path) {
    doc.resetPosition();
    std::size_t left = path.size();
    for (const wchar_t* name : path) {
        if (!doc.findElement(name))
            return false;
        if (--left > 0)
            doc.enterElement();
    }
    return true;
}

}  // namespace

TEST(MarkupDocumentBuild, WritesShortFormsOnOwnLinesAndExpandsParents) {
    MarkupDocument doc;
    doc.setDocument(L"<?xml version=\"1.0\"?>\r\n");
    ASSERT_TRUE(doc.addElement(L"root"));
    ASSERT_TRUE(doc.enterElement());
    ASSERT_TRUE(doc.addElement(L"a"));
    ASSERT_TRUE(doc.setAttribute(L"n", 1));
    ASSERT_TRUE(doc.setAttribute(L"m", L"x"));
    ASSERT_TRUE(doc.enterElement());
    ASSERT_TRUE(doc.addElement(L"c"));
    doc.leaveElement();
    ASSERT_TRUE(doc.addElement(L"b"));
    EXPECT_EQ(doc.document(),
              L"<?xml version=\"1.0\"?>\r\n<root>\r\n<a n=\"1\" m=\"x\">\r\n<c/>\r\n</a>\r\n<b/>\r\n</root>\r\n");

    // The index was kept in step: a fresh parse navigates the same.
    MarkupDocument reparsed;
    EXPECT_TRUE(reparsed.setDocument(doc.document()));
    ASSERT_TRUE(walk(reparsed, {L"root", L"a"}));
    EXPECT_EQ(reparsed.getAttribute(L"m"), L"x");
}

TEST(MarkupDocumentBuild, EditsInTheMiddleMoveEverythingAfterThem) {
    MarkupDocument doc;
    doc.setDocument(L"<r>\r\n<a/>\r\n<b k=\"1\">\r\n<c k=\"2\"/>\r\n</b>\r\n</r>\r\n");
    ASSERT_TRUE(walk(doc, {L"r", L"a"}));
    ASSERT_TRUE(doc.setAttribute(L"long", L"0123456789"));
    ASSERT_TRUE(doc.enterElement());
    ASSERT_TRUE(doc.addElement(L"inner"));
    ASSERT_TRUE(doc.setAttribute(L"v", L"z"));
    doc.leaveElement();
    ASSERT_TRUE(doc.addElement(L"between"));  // after a, before b

    ASSERT_TRUE(walk(doc, {L"r", L"b"}));
    EXPECT_EQ(doc.getAttribute(L"k"), L"1");
    doc.enterElement();
    ASSERT_TRUE(doc.findElement(L"c"));
    EXPECT_EQ(doc.getAttribute(L"k"), L"2");
    ASSERT_TRUE(doc.setAttribute(L"k", L"22"));  // replace, not append
    EXPECT_EQ(doc.getAttribute(L"k"), L"22");

    EXPECT_EQ(doc.document(),
              L"<r>\r\n<a long=\"0123456789\">\r\n<inner v=\"z\"/>\r\n</a>\r\n<between/>\r\n"
              L"<b k=\"1\">\r\n<c k=\"22\"/>\r\n</b>\r\n</r>\r\n");
    ASSERT_TRUE(walk(doc, {L"r", L"between"}));
    ASSERT_TRUE(doc.findElement(L"b"));
}

TEST(MarkupDocumentBuild, RefusesNamesThatWouldInjectMarkup) {
    MarkupDocument doc;
    EXPECT_FALSE(doc.addElement(L""));
    EXPECT_FALSE(doc.addElement(L"a b"));
    EXPECT_FALSE(doc.addElement(L"a/><x"));
    ASSERT_TRUE(doc.addElement(L"a"));
    EXPECT_FALSE(doc.setAttribute(L"x=\"1\" y", L"2"));
    EXPECT_EQ(doc.document(), L"<a/>\r\n");
}

TEST(MarkupDocumentNavigation, FindSearchesForwardOnlyAndFailureKeepsPosition) {
    MarkupDocument doc;
    doc.setDocument(L"<r><a i=\"1\"/><b i=\"2\"/><a i=\"3\"/><c i=\"4\"/></r>");
    ASSERT_TRUE(walk(doc, {L"r", L"b"}));
    ASSERT_TRUE(doc.findElement(L"a"));
    EXPECT_EQ(doc.getAttribute(L"i"), L"3");
    const int main = doc.mainPosition();
    EXPECT_FALSE(doc.findElement(L"b"));  // only before the main position
    EXPECT_EQ(doc.mainPosition(), main);
    EXPECT_EQ(doc.getAttribute(L"i"), L"3");
    EXPECT_FALSE(doc.findElement(L"A"));  // case-sensitive
    EXPECT_FALSE(doc.findElement(L"c2"));
    ASSERT_TRUE(doc.findElement(L"c"));
    EXPECT_EQ(doc.getAttribute(L"i"), L"4");
}

TEST(MarkupDocumentNavigation, NamesMustMatchWholly) {
    MarkupDocument doc;
    doc.setDocument(L"<r><List2/><Lis/><List/></r>");
    ASSERT_TRUE(walk(doc, {L"r", L"List"}));
    EXPECT_EQ(doc.tagName(), L"List");
    EXPECT_FALSE(doc.findElement(L"List"));
}

TEST(MarkupDocumentNavigation, EnterAndLeaveKeepTheChildPosition) {
    MarkupDocument doc;
    doc.setDocument(L"<r><p><x i=\"0\"/><x i=\"1\"/><x i=\"2\"/></p><q/></r>");
    EXPECT_FALSE(doc.enterElement());  // nothing found yet
    EXPECT_FALSE(doc.leaveElement());
    ASSERT_TRUE(walk(doc, {L"r", L"p", L"x"}));
    ASSERT_TRUE(doc.findElement(L"x"));
    ASSERT_TRUE(doc.leaveElement());
    EXPECT_EQ(doc.tagName(), L"p");
    ASSERT_TRUE(doc.enterElement());  // back at the second x
    EXPECT_EQ(doc.getAttribute(L"i"), L"1");
    ASSERT_TRUE(doc.findElement(L"x"));
    EXPECT_EQ(doc.getAttribute(L"i"), L"2");
    doc.leaveElement();
    ASSERT_TRUE(doc.findElement(L"q"));  // findElement resets the child position
    ASSERT_TRUE(doc.enterElement());
    EXPECT_EQ(doc.mainPosition(), 0);
    EXPECT_FALSE(doc.findElement(L"x"));
}

TEST(MarkupDocumentAttributes, ReadsAllQuotingStylesAndMissingIsEmpty) {
    MarkupDocument doc;
    doc.setDocument(L"<a one = \"1\" two='2' three=3 four five=\"\"/>");
    ASSERT_TRUE(doc.findElement(L"a"));
    EXPECT_EQ(doc.getAttribute(L"one"), L"1");
    EXPECT_EQ(doc.getAttribute(L"two"), L"2");
    EXPECT_EQ(doc.getAttribute(L"three"), L"3");
    EXPECT_EQ(doc.queryAttribute(L"four"), std::wstring());
    EXPECT_EQ(doc.queryAttribute(L"five"), std::wstring());
    EXPECT_EQ(doc.getAttribute(L"six"), L"");
    EXPECT_FALSE(doc.queryAttribute(L"six").has_value());
    EXPECT_FALSE(doc.queryAttribute(L"on").has_value());

    ASSERT_TRUE(doc.setAttribute(L"three", L"x y"));  // unquoted becomes quoted
    EXPECT_EQ(doc.getAttribute(L"three"), L"x y");
    EXPECT_EQ(doc.getAttribute(L"four"), L"");
}

TEST(MarkupDocumentAttributes, AllFiveSpecialCharactersRoundTrip) {
    const std::wstring value = L"a\"b&c'd<e>f &amp; <30 ms>";
    MarkupDocument doc;
    ASSERT_TRUE(doc.addElement(L"x"));
    ASSERT_TRUE(doc.setAttribute(L"t1", value));
    EXPECT_EQ(doc.document(), L"<x t1=\"a&quot;b&amp;c&apos;d&lt;e&gt;f &amp;amp; &lt;30 ms&gt;\"/>\r\n");
    EXPECT_EQ(doc.getAttribute(L"t1"), value);

    MarkupDocument reparsed;
    reparsed.setDocument(doc.document());
    ASSERT_TRUE(reparsed.findElement(L"x"));
    EXPECT_EQ(reparsed.getAttribute(L"t1"), value);
}

TEST(MarkupDocumentEscaping, UnescapesReferencesAndNamedEntities) {
    EXPECT_EQ(MarkupDocument::unescape(L"&lt;&gt;&amp;&quot;&apos;"), L"<>&\"'");
    EXPECT_EQ(MarkupDocument::unescape(L"&#65;&#x42;&#X43;"), L"ABC");
    EXPECT_EQ(MarkupDocument::unescape(L"&permil;&nbsp;&eacute;&Omega;&euro;"), L"\u2030\u00A0\u00E9\u03A9\u20AC");
    // Not entities: kept as they are.
    EXPECT_EQ(MarkupDocument::unescape(L"a & b &unknown; &#; &#xZZ; &#0; &#xD800; &#1114112; &amp"),
              L"a & b &unknown; &#; &#xZZ; &#0; &#xD800; &#1114112; &amp");
    EXPECT_EQ(MarkupDocument::unescape(L"&&amp;"), L"&&");

    const std::wstring emoji = MarkupDocument::unescape(L"&#x1F600;");
    if constexpr (sizeof(wchar_t) == 2) {
        ASSERT_EQ(emoji.size(), 2u);
        EXPECT_EQ(static_cast<unsigned>(emoji[0]), 0xD83Du);
        EXPECT_EQ(static_cast<unsigned>(emoji[1]), 0xDE00u);
    } else {
        ASSERT_EQ(emoji.size(), 1u);
        EXPECT_EQ(static_cast<unsigned>(emoji[0]), 0x1F600u);
    }
}

TEST(MarkupDocumentParse, SkipsCommentsInstructionsCdataAndDoctype) {
    MarkupDocument doc;
    const bool clean = doc.setDocument(
        L"<?xml version=\"1.0\"?>\n<!DOCTYPE r [ <!ELEMENT r ANY> <!ATTLIST r a CDATA \"<x>\"> ]>\n"
        L"<r><!-- <fake/> --><?pi <fake/> ?><![CDATA[ <fake/> ]]><real q=\"a>b\"/></r>");
    EXPECT_TRUE(clean) << std::string(doc.result().begin(), doc.result().end());
    EXPECT_EQ(doc.elementCount(), 2);
    ASSERT_TRUE(walk(doc, {L"r", L"real"}));
    EXPECT_EQ(doc.getAttribute(L"q"), L"a>b");
}

TEST(MarkupDocumentParse, RecordsErrorsAndKeepsGoing) {
    struct Case {
        const wchar_t* text;
        const wchar_t* word;
    };
    const Case cases[] = {
        {L"<r></x></r>", L"lone_end_tag"},
        {L"just text", L"no_root_element"},
        {L"<r/><s/>", L"root_has_sibling"},
        {L"<r><!-- open", L"comment_tag_syntax"},
        {L"<r><![CDATA[ open", L"cdata_section_syntax"},
        {L"<!DOCTYPE r [ <!ELEMENT r ANY>", L"doctype_tag_syntax"},
        {L"<r><!bogus></r>", L"exclamation_tag_syntax"},
        {L"<r>1 < 2</r>", L"first_tag_syntax"},
        {L"<r><a x=\"1\"<b/></r>", L"first_tag_syntax"},
        {L"<r><e\"=\">\"</e></r>", L"first_tag_syntax"},  // no element made of a broken tag
        {L"<r><e/=></r>", L"first_tag_syntax"},
        {L"<r><a></r>", L"end_tag_mismatch"},
        {L"<r><a>", L"unclosed_element"},
        {L"<r/>x", L"text_outside_root"},
        {L"<r a=1/>", L"attribute_syntax"},
        {L"<r a=\"1\" a=\"2\"/>", L"attribute_syntax"},
    };
    for (const Case& c : cases) {
        MarkupDocument doc;
        EXPECT_FALSE(doc.setDocument(c.text)) << std::string(c.text, c.text + std::wcslen(c.text));
        EXPECT_TRUE(doc.hasResult(c.word)) << std::string(c.word, c.word + std::wcslen(c.word));
    }

    // Parsing goes on past the error, and the first one is kept by position.
    MarkupDocument doc;
    doc.setDocument(L"<r></x><a/><b x=\"1\"<c k=\"v\"/></r>");
    ASSERT_TRUE(walk(doc, {L"r", L"a"}));
    ASSERT_TRUE(doc.findElement(L"c"));
    EXPECT_EQ(doc.getAttribute(L"k"), L"v");
    EXPECT_EQ(doc.firstError().offset, 3);
    EXPECT_EQ(doc.firstError().message(), "end tag </x> without a start tag");

    // A text of nothing but errors keeps only a few records of them.
    EXPECT_FALSE(doc.setDocument(std::wstring(100000, L'<')));
    EXPECT_LT(doc.result().size(), 1000u);
    EXPECT_EQ(doc.firstError().offset, 0);
    EXPECT_TRUE(doc.setDocument(L"<r/>"));
    EXPECT_EQ(doc.firstError().offset, -1);
}

TEST(MarkupDocumentParse, UnclosedElementsEndWithTheirParent) {
    MarkupDocument doc;
    doc.setDocument(L"<r><a><b></a><c/></r>");
    ASSERT_TRUE(walk(doc, {L"r", L"a", L"b"}));
    doc.leaveElement();
    ASSERT_TRUE(doc.findElement(L"c"));  // a sibling of a, not a child of b

    // An element the text never closes can still take children.
    MarkupDocument open;
    open.setDocument(L"<r><a>");
    ASSERT_TRUE(walk(open, {L"r", L"a"}));
    open.enterElement();
    ASSERT_TRUE(open.addElement(L"n"));
    EXPECT_EQ(open.document(), L"<r><a>\r\n<n/>\r\n");
}

TEST(MarkupDocumentParse, DeepNestingNeedsNoRecursion) {
    const int depth = 200000;
    std::wstring text;
    for (int i = 0; i < depth; ++i)
        text += L"<a>";
    for (int i = 0; i < depth; ++i)
        text += L"</a>";
    MarkupDocument doc;
    EXPECT_TRUE(doc.setDocument(text));
    EXPECT_EQ(doc.elementCount(), depth);

    MarkupDocument unclosed;
    unclosed.setDocument(text.substr(0, static_cast<std::size_t>(depth) * 3));
    EXPECT_EQ(unclosed.elementCount(), depth);
}

TEST(MarkupDocumentParse, PagedIndexAddressesPastTheFirstPage) {
    std::wstring text = L"<r>";
    const int count = 70000;  // more than one page of records
    for (int i = 0; i < count; ++i)
        text += L"<e i=\"" + std::to_wstring(i) + L"\"/>";
    text += L"</r>";
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDocument(text));
    ASSERT_TRUE(walk(doc, {L"r", L"e"}));
    int last = -1;
    int seen = 1;
    while (doc.findElement(L"e")) {
        ++seen;
        last = std::stoi(doc.getAttribute(L"i"));
    }
    EXPECT_EQ(seen, count);
    EXPECT_EQ(last, count - 1);
    EXPECT_GT(doc.mainPosition(), 0xFFFF);
}
