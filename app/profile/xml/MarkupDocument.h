// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A small XML document kept as one wide text plus an index of its elements.
//
// Navigation works on element positions (0 = none): the parent, the main
// (current) element and the child position inside the main element. Edits
// insert into the text and keep the index in step, so nothing is re-parsed.
// The index lives in pages of 65536 records; a position is page << 16 | record.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

class MarkupDocument {
public:
    // How the file that was read was encoded; a write gives the same mark back.
    enum Flags : unsigned {
        FlagUtf8Bom = 1u << 0,
        FlagUtf16Le = 1u << 1,
        FlagUtf16Be = 1u << 2,
    };

    // Files larger than this are refused rather than read into memory.
    static constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

    // The first error of a parse, by position in the text.
    struct ParseError {
        std::wstring word;     // its result word, e.g. L"lone_end_tag"
        std::wstring tagName;  // the element it concerns, where there is one
        int offset = -1;       // in the text; -1 when the parse was clean

        // English, UTF-8: "end tag </b> without a start tag".
        std::string message() const;
    };

    MarkupDocument();

    // Replaces the text and indexes it; all positions go back to the top
    // level. True when the parser recorded no error.
    bool setDocument(std::wstring text);
    // Room for a document about to be built by adding elements.
    void reserve(std::size_t characters);
    const std::wstring& document() const { return m_text; }

    // Reads and decodes a whole file; false when it cannot be opened or read,
    // or holds more than maxBytes (fileError() is then file_too_large).
    bool readFile(const std::filesystem::path& path, std::wstring& text, std::size_t maxBytes = kMaxFileBytes);
    // Encodes text in the encoding its declaration names (UTF-8 without one)
    // and writes it through a ReplacingFile, so the target changes only once
    // all is written; false when anything could not be written.
    bool writeFile(const std::filesystem::path& path, const std::wstring& text);

    // Next sibling at the current level named exactly `name`, searching
    // forward from the main position only.
    bool findElement(std::wstring_view name);
    // Next sibling at the current level, whatever its name.
    bool nextElement();
    bool enterElement();
    bool leaveElement();
    void resetPosition();

    // Inserts "<name/>" on its own line after the main element (or at the end
    // of the parent's content) and makes it the main element.
    bool addElement(std::wstring_view name);
    bool setAttribute(std::wstring_view name, std::wstring_view value);
    bool setAttribute(std::wstring_view name, int value);
    // Unescaped value; empty when the main element has no such attribute.
    std::wstring getAttribute(std::wstring_view name) const;
    // Same, but tells a missing attribute from an empty one.
    std::optional<std::wstring> queryAttribute(std::wstring_view name) const;
    // Every attribute of the main element in text order, values unescaped.
    std::vector<std::pair<std::wstring, std::wstring>> attributes() const;
    std::wstring tagName() const;

    int parentPosition() const { return m_parent; }
    int mainPosition() const { return m_main; }
    int childPosition() const { return m_child; }
    int elementCount() const { return m_count - 1; }

    unsigned flags() const { return m_flags; }
    void setFlags(unsigned flags) { m_flags = flags; }

    // What the last parse, read or write recorded: one "<word attr=.../>"
    // per event, e.g. <lone_end_tag tagname="a" offset="12"/>.
    // A failed parse keeps only its first few error records.
    const std::wstring& result() const { return m_result; }
    bool hasResult(std::wstring_view word) const;
    const ParseError& firstError() const { return m_firstError; }
    // The system's reason why the last readFile or writeFile failed.
    std::error_code fileError() const { return m_fileError; }

    static std::wstring escape(std::wstring_view text);
    static std::wstring unescape(std::wstring_view text);

private:
    struct Element {
        int start = 0;      // offset of '<'
        int length = 0;     // through the end tag, or through "/>"
        int tagLength = 0;  // the start tag through its '>'
        int parent = 0;
        int firstChild = 0;
        int lastChild = 0;
        int prev = 0;
        int next = 0;
        unsigned flags = 0;
    };
    enum ElementFlags : unsigned {
        ElementEmpty = 1u << 0,    // written in the short form "<a/>"
        ElementUnended = 1u << 1,  // the text never closed it
    };
    struct AttributeSpan {
        bool found = false;
        bool quoted = false;
        int nameEnd = 0;
        int valueStart = 0;
        int valueEnd = 0;
        int insertAt = 0;  // where a new attribute goes when not found
    };

    static constexpr int kPageBits = 16;
    static constexpr int kPageSize = 1 << kPageBits;
    static constexpr int kMaxErrorRecords = 8;

    Element& at(int pos) { return m_pages[static_cast<std::size_t>(pos >> kPageBits)][pos & (kPageSize - 1)]; }
    const Element& at(int pos) const {
        return m_pages[static_cast<std::size_t>(pos >> kPageBits)][pos & (kPageSize - 1)];
    }
    int newElement();
    void clearIndex();
    void linkChild(int parent, int after, int pos);
    void parse();
    bool tagIs(int pos, std::wstring_view name) const;
    int nameLength(int pos) const;
    int contentEnd(int pos) const;
    AttributeSpan findAttribute(int pos, std::wstring_view name) const;
    void shiftSubtree(int pos, int delta);
    void textChanged(int container, int firstFollowing, int delta);
    void record(std::wstring_view word, std::initializer_list<std::pair<std::wstring_view, std::wstring>> attributes);
    void parseError(std::wstring_view word, int offset, std::wstring_view tagName = {});
    bool fileFailed(std::error_code error, std::wstring_view message);

    std::wstring m_text;
    std::vector<std::vector<Element>> m_pages;
    int m_count = 0;  // records in use, record 0 included
    int m_parent = 0;
    int m_main = 0;
    int m_child = 0;
    unsigned m_flags = 0;
    std::wstring m_result;
    ParseError m_firstError;
    int m_parseErrors = 0;
    std::error_code m_fileError;
};
