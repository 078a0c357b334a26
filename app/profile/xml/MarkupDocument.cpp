// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/xml/MarkupDocument.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <memory>

#include "profile/xml/ReplacingFile.h"
#include "profile/xml/TextCodec.h"

namespace {

struct NamedEntity {
    const wchar_t* name;
    char32_t codePoint;
};

// The HTML named character entities, sorted by name for a binary search.
constexpr NamedEntity kNamedEntities[] = {
    {L"AElig", 0xC6}, {L"Aacute", 0xC1}, {L"Acirc", 0xC2}, {L"Agrave", 0xC0},
    {L"Alpha", 0x391}, {L"Aring", 0xC5}, {L"Atilde", 0xC3}, {L"Auml", 0xC4}, {L"Beta", 0x392},
    {L"Ccedil", 0xC7}, {L"Chi", 0x3A7}, {L"Dagger", 0x2021}, {L"Delta", 0x394}, {L"ETH", 0xD0},
    {L"Eacute", 0xC9}, {L"Ecirc", 0xCA}, {L"Egrave", 0xC8}, {L"Epsilon", 0x395},
    {L"Eta", 0x397}, {L"Euml", 0xCB}, {L"Gamma", 0x393}, {L"Iacute", 0xCD}, {L"Icirc", 0xCE},
    {L"Igrave", 0xCC}, {L"Iota", 0x399}, {L"Iuml", 0xCF}, {L"Kappa", 0x39A},
    {L"Lambda", 0x39B}, {L"Mu", 0x39C}, {L"Ntilde", 0xD1}, {L"Nu", 0x39D}, {L"OElig", 0x152},
    {L"Oacute", 0xD3}, {L"Ocirc", 0xD4}, {L"Ograve", 0xD2}, {L"Omega", 0x3A9},
    {L"Omicron", 0x39F}, {L"Oslash", 0xD8}, {L"Otilde", 0xD5}, {L"Ouml", 0xD6},
    {L"Phi", 0x3A6}, {L"Pi", 0x3A0}, {L"Prime", 0x2033}, {L"Psi", 0x3A8}, {L"Rho", 0x3A1},
    {L"Scaron", 0x160}, {L"Sigma", 0x3A3}, {L"THORN", 0xDE}, {L"Tau", 0x3A4},
    {L"Theta", 0x398}, {L"Uacute", 0xDA}, {L"Ucirc", 0xDB}, {L"Ugrave", 0xD9},
    {L"Upsilon", 0x3A5}, {L"Uuml", 0xDC}, {L"Xi", 0x39E}, {L"Yacute", 0xDD}, {L"Yuml", 0x178},
    {L"Zeta", 0x396}, {L"aacute", 0xE1}, {L"acirc", 0xE2}, {L"acute", 0xB4}, {L"aelig", 0xE6},
    {L"agrave", 0xE0}, {L"alefsym", 0x2135}, {L"alpha", 0x3B1}, {L"amp", 0x26},
    {L"and", 0x2227}, {L"ang", 0x2220}, {L"aring", 0xE5}, {L"asymp", 0x2248},
    {L"atilde", 0xE3}, {L"auml", 0xE4}, {L"bdquo", 0x201E}, {L"beta", 0x3B2},
    {L"brvbar", 0xA6}, {L"bull", 0x2022}, {L"cap", 0x2229}, {L"ccedil", 0xE7},
    {L"cedil", 0xB8}, {L"cent", 0xA2}, {L"chi", 0x3C7}, {L"circ", 0x2C6}, {L"clubs", 0x2663},
    {L"cong", 0x2245}, {L"copy", 0xA9}, {L"crarr", 0x21B5}, {L"cup", 0x222A},
    {L"curren", 0xA4}, {L"dArr", 0x21D3}, {L"dagger", 0x2020}, {L"darr", 0x2193},
    {L"deg", 0xB0}, {L"delta", 0x3B4}, {L"diams", 0x2666}, {L"divide", 0xF7},
    {L"eacute", 0xE9}, {L"ecirc", 0xEA}, {L"egrave", 0xE8}, {L"empty", 0x2205},
    {L"emsp", 0x2003}, {L"ensp", 0x2002}, {L"epsilon", 0x3B5}, {L"equiv", 0x2261},
    {L"eta", 0x3B7}, {L"eth", 0xF0}, {L"euml", 0xEB}, {L"euro", 0x20AC}, {L"exist", 0x2203},
    {L"fnof", 0x192}, {L"forall", 0x2200}, {L"frac12", 0xBD}, {L"frac14", 0xBC},
    {L"frac34", 0xBE}, {L"frasl", 0x2044}, {L"gamma", 0x3B3}, {L"ge", 0x2265}, {L"gt", 0x3E},
    {L"hArr", 0x21D4}, {L"harr", 0x2194}, {L"hearts", 0x2665}, {L"hellip", 0x2026},
    {L"iacute", 0xED}, {L"icirc", 0xEE}, {L"iexcl", 0xA1}, {L"igrave", 0xEC},
    {L"image", 0x2111}, {L"infin", 0x221E}, {L"int", 0x222B}, {L"iota", 0x3B9},
    {L"iquest", 0xBF}, {L"isin", 0x2208}, {L"iuml", 0xEF}, {L"kappa", 0x3BA},
    {L"lArr", 0x21D0}, {L"lambda", 0x3BB}, {L"lang", 0x2329}, {L"laquo", 0xAB},
    {L"larr", 0x2190}, {L"lceil", 0x2308}, {L"ldquo", 0x201C}, {L"le", 0x2264},
    {L"lfloor", 0x230A}, {L"lowast", 0x2217}, {L"loz", 0x25CA}, {L"lrm", 0x200E},
    {L"lsaquo", 0x2039}, {L"lsquo", 0x2018}, {L"lt", 0x3C}, {L"macr", 0xAF},
    {L"mdash", 0x2014}, {L"micro", 0xB5}, {L"middot", 0xB7}, {L"minus", 0x2212},
    {L"mu", 0x3BC}, {L"nabla", 0x2207}, {L"nbsp", 0xA0}, {L"ndash", 0x2013}, {L"ne", 0x2260},
    {L"ni", 0x220B}, {L"not", 0xAC}, {L"notin", 0x2209}, {L"nsub", 0x2284}, {L"ntilde", 0xF1},
    {L"nu", 0x3BD}, {L"oacute", 0xF3}, {L"ocirc", 0xF4}, {L"oelig", 0x153}, {L"ograve", 0xF2},
    {L"oline", 0x203E}, {L"omega", 0x3C9}, {L"omicron", 0x3BF}, {L"oplus", 0x2295},
    {L"or", 0x2228}, {L"ordf", 0xAA}, {L"ordm", 0xBA}, {L"oslash", 0xF8}, {L"otilde", 0xF5},
    {L"otimes", 0x2297}, {L"ouml", 0xF6}, {L"para", 0xB6}, {L"part", 0x2202},
    {L"permil", 0x2030}, {L"perp", 0x22A5}, {L"phi", 0x3C6}, {L"pi", 0x3C0}, {L"piv", 0x3D6},
    {L"plusmn", 0xB1}, {L"pound", 0xA3}, {L"prime", 0x2032}, {L"prod", 0x220F},
    {L"prop", 0x221D}, {L"psi", 0x3C8}, {L"quot", 0x22}, {L"rArr", 0x21D2}, {L"radic", 0x221A},
    {L"rang", 0x232A}, {L"raquo", 0xBB}, {L"rarr", 0x2192}, {L"rceil", 0x2309},
    {L"rdquo", 0x201D}, {L"real", 0x211C}, {L"reg", 0xAE}, {L"rfloor", 0x230B},
    {L"rho", 0x3C1}, {L"rlm", 0x200F}, {L"rsaquo", 0x203A}, {L"rsquo", 0x2019},
    {L"sbquo", 0x201A}, {L"scaron", 0x161}, {L"sdot", 0x22C5}, {L"sect", 0xA7}, {L"shy", 0xAD},
    {L"sigma", 0x3C3}, {L"sigmaf", 0x3C2}, {L"sim", 0x223C}, {L"spades", 0x2660},
    {L"sub", 0x2282}, {L"sube", 0x2286}, {L"sum", 0x2211}, {L"sup", 0x2283}, {L"sup1", 0xB9},
    {L"sup2", 0xB2}, {L"sup3", 0xB3}, {L"supe", 0x2287}, {L"szlig", 0xDF}, {L"tau", 0x3C4},
    {L"there4", 0x2234}, {L"theta", 0x3B8}, {L"thetasym", 0x3D1}, {L"thinsp", 0x2009},
    {L"thorn", 0xFE}, {L"tilde", 0x2DC}, {L"times", 0xD7}, {L"trade", 0x2122},
    {L"uArr", 0x21D1}, {L"uacute", 0xFA}, {L"uarr", 0x2191}, {L"ucirc", 0xFB},
    {L"ugrave", 0xF9}, {L"uml", 0xA8}, {L"upsih", 0x3D2}, {L"upsilon", 0x3C5}, {L"uuml", 0xFC},
    {L"weierp", 0x2118}, {L"xi", 0x3BE}, {L"yacute", 0xFD}, {L"yen", 0xA5}, {L"yuml", 0xFF},
    {L"zeta", 0x3B6}, {L"zwj", 0x200D}, {L"zwnj", 0x200C},
};

inline bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

inline bool isNameStart(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' ||
           static_cast<unsigned long>(c) >= 0x80;
}

inline bool isNameChar(wchar_t c) {
    return isNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.';
}

// One attribute of a start tag, as offsets into the text. An attribute
// without a value has valueStart == valueEnd == nameEnd.
struct AttributeText {
    int nameStart = 0;
    int nameEnd = 0;
    int valueStart = 0;
    int valueEnd = 0;
    bool quoted = false;
};

// How a start tag ends. Broken: no element can be made of it.
struct TagText {
    enum Kind { Broken, Clean, Lenient } kind = Broken;
    int close = 0;  // offset of its '>'
    bool empty = false;
};

inline bool endsUnquotedValue(const wchar_t* p, int n, int k) {
    const wchar_t c = p[k];
    return isSpace(c) || c == L'>' || c == L'<' || c == L'"' || c == L'\'' || c == L'=' || c == L'`' ||
           (c == L'/' && k + 1 < n && p[k + 1] == L'>');
}

// Reads the attributes of a start tag from k, just after the element's
// name, calling visit for each until it returns true. The parser and the
// attribute lookup both read tags through here, so an attribute that one
// of them sees is exactly the one the other sees. Clean is XML; Lenient
// allows the unambiguous HTML habits (unquoted values, attributes without a
// value or without a blank before them, the same name twice); anything else
// is Broken, and the parser makes no element of it.
template <typename Visit>
TagText scanTag(const wchar_t* p, int n, int k, Visit&& visit) {
    TagText tag;
    bool lenient = false;
    for (;;) {
        const int blanks = k;
        while (k < n && isSpace(p[k]))
            ++k;
        if (k >= n)
            return tag;
        if (p[k] == L'>' || (p[k] == L'/' && k + 1 < n && p[k + 1] == L'>')) {
            tag.empty = p[k] == L'/';
            tag.close = tag.empty ? k + 1 : k;
            tag.kind = lenient ? TagText::Lenient : TagText::Clean;
            return tag;
        }
        if (!isNameStart(p[k]))
            return tag;
        lenient = lenient || k == blanks;
        AttributeText a;
        a.nameStart = k;
        while (k < n && isNameChar(p[k]))
            ++k;
        a.nameEnd = a.valueStart = a.valueEnd = k;
        int j = k;
        while (j < n && isSpace(p[j]))
            ++j;
        if (j < n && p[j] == L'=') {
            k = j + 1;
            while (k < n && isSpace(p[k]))
                ++k;
            if (k >= n)
                return tag;
            const wchar_t quote = p[k];
            if (quote == L'"' || quote == L'\'') {
                a.quoted = true;
                a.valueStart = ++k;
                while (k < n && p[k] != quote && p[k] != L'<')
                    ++k;
                if (k >= n || p[k] != quote)
                    return tag;  // '<' in a value: more likely a quote is missing
                a.valueEnd = k++;
            } else {
                a.valueStart = k;
                while (k < n && !endsUnquotedValue(p, n, k))
                    ++k;
                if (k == a.valueStart)
                    return tag;
                a.valueEnd = k;
                lenient = true;
            }
        } else {
            lenient = true;
        }
        if (visit(a))
            return tag;  // found what the caller looked for; the rest is unread
    }
}

bool isValidName(std::wstring_view name) {
    if (name.empty() || !isNameStart(name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), isNameChar);
}

bool startsWith(std::wstring_view text, std::size_t at, std::wstring_view prefix) {
    return text.size() >= at + prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

wchar_t lowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

// Value of the pseudo-attribute `name` inside [from, to) of `text`.
std::string quotedValueAfter(std::wstring_view text, std::size_t from, std::size_t to, std::wstring_view name) {
    const std::size_t at = text.substr(0, to).find(name, from);
    if (at == std::wstring_view::npos)
        return {};
    std::size_t k = at + name.size();
    while (k < to && isSpace(text[k]))
        ++k;
    if (k < to && text[k] == L'=')
        ++k;
    while (k < to && isSpace(text[k]))
        ++k;
    if (k < to && (text[k] == L'"' || text[k] == L'\''))
        ++k;
    std::string value;
    while (k < to && value.size() < 64) {
        const wchar_t c = text[k++];
        if (c == L'"' || c == L'\'' || c == L';' || c == L'>' || c == L'/' || isSpace(c))
            break;
        if (c >= 0x80)
            return {};
        value.push_back(static_cast<char>(c));
    }
    return value;
}

// The encoding a text declares: its XML declaration, or an HTML meta element.
std::string declaredEncoding(std::wstring_view head) {
    std::size_t k = 0;
    while (k < head.size() && isSpace(head[k]))
        ++k;
    if (startsWith(head, k, L"<?xml")) {
        const std::size_t end = head.find(L"?>", k);
        return quotedValueAfter(head, k + 5, end == std::wstring_view::npos ? head.size() : end, L"encoding");
    }
    std::wstring lower(head);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    for (std::size_t meta = lower.find(L"<meta"); meta != std::wstring::npos; meta = lower.find(L"<meta", meta + 5)) {
        std::size_t end = lower.find(L'>', meta);
        if (end == std::wstring::npos)
            end = lower.size();
        const std::wstring_view tag = std::wstring_view(lower).substr(0, end);
        const bool contentType = tag.find(L"http-equiv", meta) != std::wstring_view::npos &&
                                 tag.find(L"content-type", meta) != std::wstring_view::npos;
        const std::size_t charset = tag.find(L"charset", meta);
        if (charset == std::wstring_view::npos)
            continue;
        if (contentType || tag.find(L"charset", meta) < tag.find(L"content", meta)) {
            std::string value = quotedValueAfter(lower, charset, end, L"charset");
            if (!value.empty())
                return value;
        }
    }
    return {};
}

char32_t lookupEntity(std::wstring_view name) {
    if (name == L"amp")
        return L'&';
    if (name == L"lt")
        return L'<';
    if (name == L"gt")
        return L'>';
    if (name == L"quot")
        return L'"';
    if (name == L"apos")
        return L'\'';
    const auto* end = std::end(kNamedEntities);
    const auto* found = std::lower_bound(std::begin(kNamedEntities), end, name,
                                         [](const NamedEntity& e, std::wstring_view n) { return std::wstring_view(e.name) < n; });
    return (found != end && std::wstring_view(found->name) == name) ? found->codePoint : 0;
}

// "#123" or "#x1F600"; 0 when not a valid character reference.
char32_t characterReference(std::wstring_view ref) {
    std::size_t k = 1;
    unsigned base = 10;
    if (ref.size() > 1 && (ref[1] == L'x' || ref[1] == L'X')) {
        base = 16;
        k = 2;
    }
    if (k >= ref.size())
        return 0;
    char32_t cp = 0;
    for (; k < ref.size(); ++k) {
        const wchar_t c = ref[k];
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = static_cast<unsigned>(c - L'a' + 10);
        else if (base == 16 && c >= L'A' && c <= L'F')
            digit = static_cast<unsigned>(c - L'A' + 10);
        else
            return 0;
        cp = cp * base + digit;
        if (cp > 0x10FFFF)
            return 0;
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return cp;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr openForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return FilePtr(_wfopen(path.c_str(), L"rb"));
#else
    return FilePtr(std::fopen(path.c_str(), "rb"));
#endif
}

std::wstring widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

MarkupDocument::MarkupDocument() {
    clearIndex();
}

void MarkupDocument::clearIndex() {
    m_pages.resize(1);
    m_pages[0].clear();
    m_count = 0;
    newElement();  // record 0: the document, whose children are the top level
    m_parent = m_main = m_child = 0;
}

int MarkupDocument::newElement() {
    const int pos = m_count++;
    const auto page = static_cast<std::size_t>(pos >> kPageBits);
    if (page == m_pages.size()) {
        m_pages.emplace_back();
        m_pages.back().reserve(kPageSize);
    }
    m_pages[page].emplace_back();
    return pos;
}

void MarkupDocument::linkChild(int parent, int after, int pos) {
    const int next = after ? at(after).next : at(parent).firstChild;
    Element& e = at(pos);
    e.parent = parent;
    e.prev = after;
    e.next = next;
    if (after)
        at(after).next = pos;
    else
        at(parent).firstChild = pos;
    if (next)
        at(next).prev = pos;
    else
        at(parent).lastChild = pos;
}

void MarkupDocument::record(std::wstring_view word,
                            std::initializer_list<std::pair<std::wstring_view, std::wstring>> attributes) {
    m_result += L'<';
    m_result += word;
    for (const auto& [name, value] : attributes) {
        m_result += L' ';
        m_result += name;
        m_result += L"=\"";
        m_result += escape(value);
        m_result += L'"';
    }
    m_result += L"/>\r\n";
}

bool MarkupDocument::hasResult(std::wstring_view word) const {
    std::wstring open = L"<";
    open += word;
    for (std::size_t at = m_result.find(open); at != std::wstring::npos; at = m_result.find(open, at + 1)) {
        const wchar_t after = at + open.size() < m_result.size() ? m_result[at + open.size()] : L'\0';
        if (after == L' ' || after == L'/')
            return true;
    }
    return false;
}

bool MarkupDocument::setDocument(std::wstring text) {
    m_result.clear();
    m_firstError = ParseError();
    m_parseErrors = 0;
    clearIndex();
    // Offsets are ints; a text beyond that is refused whole.
    if (text.size() >= static_cast<std::size_t>(0x7FFFFFF0)) {
        m_text.clear();
        parseError(L"truncation_error", 0);
        return false;
    }
    m_text = std::move(text);
    // Profile files hold about one element per 60 characters.
    m_pages[0].reserve(std::min<std::size_t>(kPageSize, m_text.size() / 64 + 16));
    parse();
    return m_parseErrors == 0;
}

void MarkupDocument::parse() {
    const wchar_t* p = m_text.data();
    const int n = static_cast<int>(m_text.size());
    const std::wstring_view view(m_text);
    const auto syntax = [this](const wchar_t* word, int offset) { parseError(word, offset); };
    std::vector<int> open;  // elements whose end tag is still to come
    open.reserve(32);
    // Attribute names of the current tag, to catch one given twice; the
    // first few suffice, and keep a tag of thousands of attributes linear.
    constexpr std::size_t kCheckedNames = 16;
    constexpr std::size_t kRecoveryDepth = 64;
    std::vector<std::wstring_view> names;
    names.reserve(kCheckedNames);
    int i = 0;
    // Only white space may stand before and after the root element.
    const auto textOutsideRoot = [&](int from, int to) {
        while (from < to && isSpace(p[from]))
            ++from;
        if (from < to)
            parseError(L"text_outside_root", from);
    };
    for (;;) {
        // Between tags there is mostly just a line break: look a few
        // characters ahead before paying for a library call.
        const int textStart = i;
        const int nearby = std::min(n, i + 8);
        while (i < nearby && p[i] != L'<')
            ++i;
        if (i == nearby) {
            const wchar_t* lt = std::wmemchr(p + i, L'<', static_cast<std::size_t>(n - i));
            i = lt ? static_cast<int>(lt - p) : n;
        }
        if (open.empty())
            textOutsideRoot(textStart, i);
        if (i >= n)
            break;
        if (i + 1 >= n) {
            syntax(L"first_tag_syntax", i);
            break;
        }
        const wchar_t c = p[i + 1];
        if (isNameStart(c)) {
            int k = i + 2;
            while (k < n && isNameChar(p[k]))
                ++k;
            names.clear();
            bool twice = false;
            const TagText tag = scanTag(p, n, k, [&](const AttributeText& a) {
                const std::wstring_view name(p + a.nameStart, static_cast<std::size_t>(a.nameEnd - a.nameStart));
                twice = twice || std::find(names.begin(), names.end(), name) != names.end();
                if (names.size() < kCheckedNames)
                    names.push_back(name);
                return false;
            });
            if (tag.kind == TagText::Broken) {
                syntax(L"first_tag_syntax", i);
                i += 1;  // what follows the '<' is text
                continue;
            }
            if (tag.kind == TagText::Lenient || twice)
                syntax(L"attribute_syntax", i);
            const int pos = newElement();
            const int parent = open.empty() ? 0 : open.back();
            linkChild(parent, at(parent).lastChild, pos);
            Element& e = at(pos);
            e.start = i;
            e.tagLength = tag.close + 1 - i;
            if (tag.empty) {
                e.length = e.tagLength;
                e.flags = ElementEmpty;
            } else {
                open.push_back(pos);
            }
            i = tag.close + 1;
        } else if (c == L'/') {
            int k = i + 2;
            while (k < n && isNameChar(p[k]))
                ++k;
            const std::wstring_view name(p + i + 2, static_cast<std::size_t>(k - i - 2));
            const int nameEnd = k;
            while (k < n && isSpace(p[k]))
                ++k;
            const bool blanksOnly = k < n && p[k] == L'>';
            while (k < n && p[k] != L'>' && p[k] != L'<')
                ++k;
            if (k >= n || p[k] != L'>' || name.empty()) {
                syntax(L"first_tag_syntax", i);
                i += 1;
                continue;
            }
            if (!blanksOnly)
                syntax(L"first_tag_syntax", nameEnd);
            // Close the innermost open element of that name; any opened
            // inside it that were never closed end where it ends. The
            // search goes only a few levels up, so that thousands of
            // unmatched end tags against thousands of open elements stay
            // linear; a well-formed text always closes the last one opened.
            auto depth = open.size();
            const auto deepest = depth > kRecoveryDepth ? depth - kRecoveryDepth : 0;
            while (depth > deepest && !tagIs(open[depth - 1], name))
                --depth;
            if (depth == deepest) {
                parseError(L"lone_end_tag", i, name);
            } else {
                if (open.size() > depth)
                    parseError(L"end_tag_mismatch", i, name);
                while (open.size() > depth) {
                    Element& u = at(open.back());
                    u.length = i - u.start;
                    u.flags |= ElementUnended;
                    open.pop_back();
                }
                Element& e = at(open.back());
                e.length = k + 1 - e.start;
                open.pop_back();
            }
            i = k + 1;
        } else if (c == L'?') {
            const std::size_t end = view.find(L"?>", static_cast<std::size_t>(i) + 2);
            if (end == std::wstring_view::npos) {
                syntax(L"first_tag_syntax", i);
                break;
            }
            i = static_cast<int>(end) + 2;
        } else if (c == L'!') {
            if (startsWith(view, static_cast<std::size_t>(i), L"<!--")) {
                const std::size_t end = view.find(L"-->", static_cast<std::size_t>(i) + 4);
                if (end == std::wstring_view::npos) {
                    syntax(L"comment_tag_syntax", i);
                    break;
                }
                i = static_cast<int>(end) + 3;
            } else if (startsWith(view, static_cast<std::size_t>(i), L"<![CDATA[")) {
                const std::size_t end = view.find(L"]]>", static_cast<std::size_t>(i) + 9);
                if (end == std::wstring_view::npos) {
                    syntax(L"cdata_section_syntax", i);
                    break;
                }
                i = static_cast<int>(end) + 3;
            } else if (n - i >= 9 && std::equal(p + i + 2, p + i + 9, L"DOCTYPE",
                                                [](wchar_t a, wchar_t b) { return lowerAscii(a) == lowerAscii(b); })) {
                // Up to the '>' outside the internal subset and outside quotes.
                int k = i + 9;
                int brackets = 0;
                bool closed = false;
                while (k < n) {
                    const wchar_t ch = p[k];
                    if (ch == L'"' || ch == L'\'') {
                        const wchar_t* q = std::wmemchr(p + k + 1, ch, static_cast<std::size_t>(n - k - 1));
                        if (!q)
                            break;
                        k = static_cast<int>(q - p) + 1;
                        continue;
                    }
                    if (ch == L'[') {
                        ++brackets;
                    } else if (ch == L']') {
                        brackets = std::max(0, brackets - 1);
                    } else if (ch == L'>' && brackets == 0) {
                        closed = true;
                        break;
                    }
                    ++k;
                }
                if (!closed) {
                    syntax(L"doctype_tag_syntax", i);
                    break;
                }
                i = k + 1;
            } else {
                syntax(L"exclamation_tag_syntax", i);
                const wchar_t* gt = std::wmemchr(p + i + 2, L'>', static_cast<std::size_t>(n - i - 2));
                if (!gt)
                    break;
                i = static_cast<int>(gt - p) + 1;
            }
        } else {
            syntax(L"first_tag_syntax", i);  // a '<' that starts no markup
            i += 1;
        }
    }
    if (!open.empty())
        parseError(L"unclosed_element", n, std::wstring_view(p + at(open.back()).start + 1,
                                                             static_cast<std::size_t>(nameLength(open.back()))));
    for (int pos : open) {
        Element& e = at(pos);
        e.length = n - e.start;
        e.flags |= ElementUnended;
    }
    Element& document = at(0);
    document.length = n;
    if (!document.firstChild)
        parseError(L"no_root_element", 0);
    else if (at(document.firstChild).next)
        parseError(L"root_has_sibling", at(at(document.firstChild).next).start);
    if (m_parseErrors > kMaxErrorRecords)
        record(L"more_errors", {{L"count", std::to_wstring(m_parseErrors - kMaxErrorRecords)}});
}

void MarkupDocument::parseError(std::wstring_view word, int offset, std::wstring_view tagName) {
    if (m_firstError.offset < 0 || offset < m_firstError.offset)
        m_firstError = ParseError{std::wstring(word), std::wstring(tagName), offset};
    // Only the first few are written down: a file of nothing but '<' would
    // otherwise cost many times its size in records nobody reads.
    if (++m_parseErrors > kMaxErrorRecords)
        return;
    if (tagName.empty())
        record(word, {{L"offset", std::to_wstring(offset)}});
    else
        record(word, {{L"tagname", std::wstring(tagName)}, {L"offset", std::to_wstring(offset)}});
}

std::string MarkupDocument::ParseError::message() const {
    struct Phrase {
        const wchar_t* word;
        const char* before;  // the tag name goes between the two
        const char* after;
    };
    static constexpr Phrase kPhrases[] = {
        {L"lone_end_tag", "end tag </", "> without a start tag"},
        {L"end_tag_mismatch", "end tag </", "> does not close the element opened last"},
        {L"unclosed_element", "the text ends before </", ">"},
        {L"no_root_element", "no element", ""},
        {L"root_has_sibling", "a second root element", ""},
        {L"text_outside_root", "text outside the root element", ""},
        {L"first_tag_syntax", "malformed tag", ""},
        {L"attribute_syntax", "malformed attribute", ""},
        {L"doctype_tag_syntax", "malformed document type declaration", ""},
        {L"exclamation_tag_syntax", "malformed <! markup", ""},
        {L"comment_tag_syntax", "comment without its end -->", ""},
        {L"cdata_section_syntax", "CDATA section without its end ]]>", ""},
        {L"truncation_error", "text too long", ""},
    };
    for (const Phrase& phrase : kPhrases) {
        if (word == phrase.word)
            return phrase.before + (*phrase.after ? TextCodec::encodeUtf8(tagName) + phrase.after : std::string());
    }
    return TextCodec::encodeUtf8(word);
}

bool MarkupDocument::tagIs(int pos, std::wstring_view name) const {
    const auto start = static_cast<std::size_t>(at(pos).start) + 1;
    const std::size_t after = start + name.size();
    if (after >= m_text.size() || isNameChar(m_text[after]))
        return false;
    return std::wmemcmp(m_text.data() + start, name.data(), name.size()) == 0;
}

int MarkupDocument::nameLength(int pos) const {
    const int start = at(pos).start + 1;
    int k = start;
    const int n = static_cast<int>(m_text.size());
    while (k < n && isNameChar(m_text[static_cast<std::size_t>(k)]))
        ++k;
    return k - start;
}

int MarkupDocument::contentEnd(int pos) const {
    const Element& e = at(pos);
    if (e.flags & ElementUnended)
        return e.start + e.length;
    int k = e.start + e.length - 1;
    while (k >= e.start + e.tagLength && m_text[static_cast<std::size_t>(k)] != L'<')
        --k;
    return k;
}

MarkupDocument::AttributeSpan MarkupDocument::findAttribute(int pos, std::wstring_view name) const {
    const Element& e = at(pos);
    const wchar_t* p = m_text.data();
    const int tagEnd = e.start + e.tagLength;  // just past its '>'
    AttributeSpan span;
    span.insertAt = tagEnd - ((e.flags & ElementEmpty) ? 2 : 1);
    while (span.insertAt > e.start + 1 && isSpace(p[span.insertAt - 1]))
        --span.insertAt;
    scanTag(p, tagEnd, e.start + 1 + nameLength(pos), [&](const AttributeText& a) {
        if (std::wstring_view(p + a.nameStart, static_cast<std::size_t>(a.nameEnd - a.nameStart)) != name)
            return false;
        span.found = true;
        span.quoted = a.quoted;
        span.nameEnd = a.nameEnd;
        span.valueStart = a.valueStart;
        span.valueEnd = a.valueEnd;
        return true;
    });
    return span;
}

void MarkupDocument::shiftSubtree(int pos, int delta) {
    int cur = pos;
    for (;;) {
        Element& e = at(cur);
        e.start += delta;
        if (e.firstChild) {
            cur = e.firstChild;
            continue;
        }
        while (cur != pos && !at(cur).next)
            cur = at(cur).parent;
        if (cur == pos)
            return;
        cur = at(cur).next;
    }
}

// The text grew by delta inside `container`, in front of firstFollowing (a
// child of it, or 0). Everything that starts later moves; everything that
// holds the change grows. Edits near the end touch only the ancestors.
void MarkupDocument::textChanged(int container, int firstFollowing, int delta) {
    for (int s = firstFollowing; s; s = at(s).next)
        shiftSubtree(s, delta);
    for (int a = container; a; a = at(a).parent) {
        at(a).length += delta;
        for (int s = at(a).next; s; s = at(s).next)
            shiftSubtree(s, delta);
    }
    at(0).length += delta;
}

bool MarkupDocument::findElement(std::wstring_view name) {
    for (int pos = m_main ? at(m_main).next : at(m_parent).firstChild; pos; pos = at(pos).next) {
        if (tagIs(pos, name)) {
            m_main = pos;
            m_child = 0;
            return true;
        }
    }
    return false;
}

bool MarkupDocument::nextElement() {
    const int pos = m_main ? at(m_main).next : at(m_parent).firstChild;
    if (!pos)
        return false;
    m_main = pos;
    m_child = 0;
    return true;
}

bool MarkupDocument::enterElement() {
    if (!m_main)
        return false;
    m_parent = m_main;
    m_main = m_child;
    m_child = 0;
    return true;
}

bool MarkupDocument::leaveElement() {
    if (!m_parent)
        return false;
    m_child = m_main;
    m_main = m_parent;
    m_parent = at(m_parent).parent;
    return true;
}

void MarkupDocument::reserve(std::size_t characters) {
    m_text.reserve(characters);
}

void MarkupDocument::resetPosition() {
    m_parent = m_main = m_child = 0;
}

bool MarkupDocument::addElement(std::wstring_view name) {
    if (!isValidName(name))
        return false;
    const int parent = m_parent;
    int after = m_main;
    int offset;
    std::wstring insert;
    const auto breakBefore = [&](int at) {
        if (at > 0 && m_text[static_cast<std::size_t>(at) - 1] != L'\n')
            insert = L"\r\n";
    };
    if (after) {
        const Element& e = at(after);
        offset = e.start + e.length;
        if (startsWith(m_text, static_cast<std::size_t>(offset), L"\r\n"))
            offset += 2;
        else if (startsWith(m_text, static_cast<std::size_t>(offset), L"\n"))
            offset += 1;
        else
            insert = L"\r\n";
    } else if (!parent) {
        offset = static_cast<int>(m_text.size());
        breakBefore(offset);
        after = at(0).lastChild;
    } else {
        if (at(parent).flags & ElementEmpty) {
            // "<p .../>" becomes "<p ...>" CR LF "</p>", so it can take children.
            const int slash = at(parent).start + at(parent).tagLength - 2;
            std::wstring closing = L">\r\n</";
            closing.append(m_text, static_cast<std::size_t>(at(parent).start) + 1,
                           static_cast<std::size_t>(nameLength(parent)));
            closing += L'>';
            m_text.replace(static_cast<std::size_t>(slash), 2, closing);
            Element& p = at(parent);
            p.tagLength -= 1;
            p.flags &= ~ElementEmpty;
            textChanged(parent, 0, static_cast<int>(closing.size()) - 2);
            offset = at(parent).start + at(parent).tagLength + 2;
        } else {
            offset = contentEnd(parent);
            breakBefore(offset);
        }
        after = at(parent).lastChild;
    }
    const int start = offset + static_cast<int>(insert.size());
    insert += L'<';
    insert += name;
    insert += L"/>\r\n";
    if (m_text.size() + insert.size() >= static_cast<std::size_t>(0x7FFFFFF0))
        return false;
    m_text.insert(static_cast<std::size_t>(offset), insert);
    textChanged(parent, after ? at(after).next : at(parent).firstChild, static_cast<int>(insert.size()));

    const int pos = newElement();
    Element& e = at(pos);
    e.start = start;
    e.length = e.tagLength = static_cast<int>(name.size()) + 3;
    e.flags = ElementEmpty;
    linkChild(parent, after, pos);
    m_main = pos;
    m_child = 0;
    return true;
}

bool MarkupDocument::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (!m_main || !isValidName(name))
        return false;
    const AttributeSpan span = findAttribute(m_main, name);
    std::wstring insert;
    int offset;
    int removed;
    if (span.found && span.quoted) {
        insert = escape(value);
        offset = span.valueStart;
        removed = span.valueEnd - span.valueStart;
    } else {
        if (!span.found)
            insert = L" " + std::wstring(name);
        insert += L"=\"";
        insert += escape(value);
        insert += L'"';
        offset = span.found ? span.nameEnd : span.insertAt;
        removed = span.found ? span.valueEnd - span.nameEnd : 0;
    }
    if (m_text.size() + insert.size() >= static_cast<std::size_t>(0x7FFFFFF0))
        return false;
    m_text.replace(static_cast<std::size_t>(offset), static_cast<std::size_t>(removed), insert);
    const int delta = static_cast<int>(insert.size()) - removed;
    at(m_main).tagLength += delta;
    textChanged(m_main, at(m_main).firstChild, delta);
    return true;
}

bool MarkupDocument::setAttribute(std::wstring_view name, int value) {
    // "%d" by hand: the library's wide formatting is many times slower.
    wchar_t digits[16];
    wchar_t* end = digits + 16;
    wchar_t* p = end;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = L'-';
    return setAttribute(name, std::wstring_view(p, static_cast<std::size_t>(end - p)));
}

std::optional<std::wstring> MarkupDocument::queryAttribute(std::wstring_view name) const {
    if (!m_main)
        return std::nullopt;
    const AttributeSpan span = findAttribute(m_main, name);
    if (!span.found)
        return std::nullopt;
    return unescape(std::wstring_view(m_text).substr(static_cast<std::size_t>(span.valueStart),
                                                    static_cast<std::size_t>(span.valueEnd - span.valueStart)));
}

std::vector<std::pair<std::wstring, std::wstring>> MarkupDocument::attributes() const {
    std::vector<std::pair<std::wstring, std::wstring>> all;
    if (!m_main)
        return all;
    const Element& e = at(m_main);
    const std::wstring_view text(m_text);
    const auto span = [&](int from, int to) { return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)); };
    scanTag(m_text.data(), e.start + e.tagLength, e.start + 1 + nameLength(m_main), [&](const AttributeText& a) {
        all.emplace_back(span(a.nameStart, a.nameEnd), unescape(span(a.valueStart, a.valueEnd)));
        return false;
    });
    return all;
}

std::wstring MarkupDocument::getAttribute(std::wstring_view name) const {
    return queryAttribute(name).value_or(std::wstring());
}

std::wstring MarkupDocument::tagName() const {
    if (!m_main)
        return {};
    return m_text.substr(static_cast<std::size_t>(at(m_main).start) + 1, static_cast<std::size_t>(nameLength(m_main)));
}

std::wstring MarkupDocument::escape(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'"': out += L"&quot;"; break;
        case L'&': out += L"&amp;"; break;
        case L'\'': out += L"&apos;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::wstring MarkupDocument::unescape(std::wstring_view text) {
    std::size_t amp = text.find(L'&');
    if (amp == std::wstring_view::npos)
        return std::wstring(text);
    std::wstring out;
    out.reserve(text.size());
    std::size_t done = 0;
    while (amp != std::wstring_view::npos) {
        out.append(text, done, amp - done);
        // Entity names are short; a ';' further away means a bare '&'.
        const std::size_t semi = text.substr(0, std::min(text.size(), amp + 34)).find(L';', amp + 1);
        char32_t cp = 0;
        if (semi != std::wstring_view::npos) {
            const std::wstring_view ref = text.substr(amp + 1, semi - amp - 1);
            cp = (!ref.empty() && ref[0] == L'#') ? characterReference(ref) : lookupEntity(ref);
        }
        if (cp) {
            TextCodec::appendCodePoint(out, cp);
            done = semi + 1;
        } else {
            out += L'&';
            done = amp + 1;
        }
        amp = text.find(L'&', done);
    }
    out.append(text, done, std::wstring_view::npos);
    return out;
}

bool MarkupDocument::fileFailed(std::error_code error, std::wstring_view message) {
    m_fileError = error;
    record(L"file_error", {{L"msg", std::wstring(message)}});
    return false;
}

bool MarkupDocument::readFile(const std::filesystem::path& path, std::wstring& text, std::size_t maxBytes) {
    m_result.clear();
    m_fileError.clear();
    text.clear();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return fileFailed(std::make_error_code(std::errc::is_a_directory), L"is a directory");
    const FilePtr file = openForReading(path);
    if (!file)
        return fileFailed(std::error_code(errno, std::generic_category()), L"cannot open");
    const auto expected = std::filesystem::file_size(path, ec);
    if (!ec && expected > maxBytes)
        return fileFailed(std::make_error_code(std::errc::file_too_large), L"file too large");
    std::string bytes;
    if (!ec)
        bytes.reserve(static_cast<std::size_t>(expected));
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes)  // grew while being read, or not a plain file
            return fileFailed(std::make_error_code(std::errc::file_too_large), L"file too large");
        if (got < sizeof buffer)
            break;
    }
    if (std::ferror(file.get()))
        return fileFailed(std::error_code(errno ? errno : EIO, std::generic_category()), L"cannot read");

    // A byte-order mark decides; then a declaration; then a guess.
    const auto* u = reinterpret_cast<const unsigned char*>(bytes.data());
    std::string encoding;
    std::size_t skip = 0;
    m_flags &= ~(FlagUtf8Bom | FlagUtf16Le | FlagUtf16Be);
    if (bytes.size() >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) {
        encoding = "UTF-8";
        m_flags |= FlagUtf8Bom;
        skip = 3;
    } else if (bytes.size() >= 2 && u[0] == 0xFF && u[1] == 0xFE) {
        encoding = "UTF-16LE";
        m_flags |= FlagUtf16Le;
        skip = 2;
    } else if (bytes.size() >= 2 && u[0] == 0xFE && u[1] == 0xFF) {
        encoding = "UTF-16BE";
        m_flags |= FlagUtf16Be;
        skip = 2;
    }
    if (skip) {
        record(L"bom", {{L"encoding", widen(encoding)}});
    } else if (bytes.size() >= 4 && u[0] == '<' && u[1] == 0 && u[2] != 0 && u[3] == 0) {
        // No mark, but '<' and the next character as 16-bit units: "3C 00 3F
        // 00" for a declaration in little-endian UTF-16, as XML's appendix on
        // encoding detection has it, and likewise for any first element.
        encoding = "UTF-16LE";
    } else if (bytes.size() >= 4 && u[0] == 0 && u[1] == '<' && u[2] == 0 && u[3] != 0) {
        encoding = "UTF-16BE";
    } else {
        const std::string_view head = std::string_view(bytes).substr(0, 1024);
        encoding = declaredEncoding(TextCodec::decodeUtf8(head));
        // A declaration readable as 8-bit text cannot belong to UTF-16 bytes.
        if (TextCodec::kindOf(encoding) == TextCodec::Kind::Utf16Le ||
            TextCodec::kindOf(encoding) == TextCodec::Kind::Utf16Be)
            encoding = "UTF-8";
        if (encoding.empty() && !bytes.empty() && bytes[0] == '<')
            encoding = "UTF-8";
    }
    const std::string_view body = std::string_view(bytes).substr(skip);
    if (encoding.empty()) {
        if (TextCodec::isValidUtf8(body)) {
            encoding = "UTF-8";
            record(L"utf8_detection", {});
        } else {
            encoding = TextCodec::systemCodePage();
        }
    }

    TextCodec::Stats stats;
    switch (TextCodec::kindOf(encoding)) {
    case TextCodec::Kind::Utf8:
        text = TextCodec::decodeUtf8(body, &stats);
        break;
    case TextCodec::Kind::Utf16Le:
        text = TextCodec::decodeUtf16(body, false, &stats);
        break;
    case TextCodec::Kind::Utf16Be:
        text = TextCodec::decodeUtf16(body, true, &stats);
        record(L"endian_swap", {});
        break;
    case TextCodec::Kind::CodePage:
        if (TextCodec::decodeCodePage(encoding, body, text, &stats)) {
            record(L"converted_from", {{L"encoding", widen(encoding)}});
        } else {
            record(L"converted_from", {{L"encoding", widen(encoding)}, {L"msg", L"unknown encoding, read as UTF-8"}});
            text = TextCodec::decodeUtf8(body, &stats);
        }
        break;
    }
    if (stats.truncated)
        record(L"truncation_error", {{L"encoding", widen(encoding)}});
    if (stats.losses)
        record(L"conversion_loss", {{L"encoding", widen(encoding)}, {L"count", std::to_wstring(stats.losses)}});
    const std::size_t before = text.size();
    text.erase(std::remove(text.begin(), text.end(), L'\0'), text.end());
    if (text.size() != before)
        record(L"nulls_removed", {{L"count", std::to_wstring(before - text.size())}});
    record(L"read", {{L"encoding", widen(encoding)}, {L"length", std::to_wstring(bytes.size())}});
    return true;
}

bool MarkupDocument::writeFile(const std::filesystem::path& path, const std::wstring& text) {
    m_result.clear();
    m_fileError.clear();
    std::string encoding = declaredEncoding(std::wstring_view(text).substr(0, 1024));
    if (encoding.empty())
        encoding = "UTF-8";
    TextCodec::Kind kind = TextCodec::kindOf(encoding);
    // A plain "UTF-16" keeps the byte order the file was read in.
    std::string lower = encoding;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (kind == TextCodec::Kind::Utf16Le && (m_flags & FlagUtf16Be) && lower == "utf-16")
        kind = TextCodec::Kind::Utf16Be;

    TextCodec::Stats stats;
    std::string bytes;  // the whole file for a code page, else one piece at a time
    if (kind == TextCodec::Kind::CodePage) {
        if (!TextCodec::encodeCodePage(encoding, text, bytes, &stats))
            return fileFailed(std::make_error_code(std::errc::invalid_argument), L"unknown encoding " + widen(encoding));
        record(L"converted_to", {{L"encoding", widen(encoding)}});
    } else if (kind == TextCodec::Kind::Utf8 && (m_flags & FlagUtf8Bom)) {
        bytes = "\xEF\xBB\xBF";
    } else if (kind != TextCodec::Kind::Utf8 && (m_flags & (FlagUtf16Le | FlagUtf16Be))) {
        bytes = kind == TextCodec::Kind::Utf16Be ? "\xFE\xFF" : "\xFF\xFE";
    }

    ReplacingFile file(path);
    if (!file.open())
        return fileFailed(file.error(), L"cannot create");
    std::size_t written = 0;
    std::error_code writeError;
    const auto put = [&](const std::string& piece) {
        if (!writeError && std::fwrite(piece.data(), 1, piece.size(), file.stream()) != piece.size())
            writeError = std::error_code(errno ? errno : EIO, std::generic_category());
        written += piece.size();
    };
    put(bytes);
    if (kind != TextCodec::Kind::CodePage) {
        // Encoded in pieces, so a large document never needs a second copy.
        constexpr std::size_t piece = std::size_t{1} << 16;
        for (std::size_t at = 0; at < text.size() && !writeError;) {
            std::size_t end = std::min(text.size(), at + piece);
            if (end < text.size() && (static_cast<unsigned long>(text[end - 1]) & 0xFC00) == 0xD800)
                --end;  // keep a surrogate pair together
            const std::wstring_view part = std::wstring_view(text).substr(at, end - at);
            if (kind == TextCodec::Kind::Utf8)
                put(TextCodec::encodeUtf8(part, &stats));
            else
                put(TextCodec::encodeUtf16(part, kind == TextCodec::Kind::Utf16Be, &stats));
            at = end;
        }
    }
    if (stats.losses)
        record(L"conversion_loss", {{L"encoding", widen(encoding)}, {L"count", std::to_wstring(stats.losses)}});
    if (writeError)
        return fileFailed(writeError, L"cannot write");
    if (!file.commit())
        return fileFailed(file.error(), L"cannot write");
    record(L"write", {{L"encoding", widen(encoding)}, {L"length", std::to_wstring(written)}});
    return true;
}
