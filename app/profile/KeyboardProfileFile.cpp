// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The profile file: the libraries, the key colours and every key slot as XML.
#include "profile/KeyboardProfile.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <optional>
#include <system_error>

#include "profile/xml/MarkupDocument.h"

namespace {

constexpr wchar_t kRootName[] = L"VelkorOndrix_108";

// A hostile file must not be able to make us recurse or allocate without
// bound: List-in-x nesting stops at kMaxListDepth (a profile needs three),
// an x ID above kMaxItemId is ignored, and the empty items that gaps in the
// IDs create are rationed over the whole load.
constexpr int kMaxListDepth = 16;
constexpr int kMaxItemId = 100000;
constexpr long kGapItemBudget = 100000;
// View fields and sequence parameters are bounded too, so that no list
// operation of the editor or the translation can overflow on them: the view
// to far more rows than any list view shows and a start within the list,
// the repeat count and the delay to what a key record holds (one byte, two).
constexpr int kMaxViewRows = 1000;
constexpr int kMaxCycles = 255;
constexpr int kMaxDelay = 65535;

int clampInt(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// Like the C runtime's text-to-long: leading blanks, a sign, digits up to the
// first other character, no digits gives 0. Saturates instead of wrapping.
int toInt(const std::wstring& text) {
    std::size_t k = 0;
    while (k < text.size() && std::iswspace(static_cast<wint_t>(text[k])))
        ++k;
    bool negative = false;
    if (k < text.size() && (text[k] == L'+' || text[k] == L'-'))
        negative = text[k++] == L'-';
    long long value = 0;
    for (; k < text.size() && text[k] >= L'0' && text[k] <= L'9'; ++k) {
        value = value * 10 + (text[k] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// An attribute the element does not carry leaves the target as it is, so
// whatever the file does not say keeps the value it had after a reset.
void readInt(const MarkupDocument& doc, std::wstring_view name, int& target) {
    if (const std::optional<std::wstring> value = doc.queryAttribute(name))
        target = toInt(*value);
}

class ListReader {
public:
    explicit ListReader(MarkupDocument& doc) : m_doc(doc) {}

    // Reads the List element among the current children into `list`.
    void read(ActionList& list, int depth) {
        list.clearList();
        if (!m_doc.findElement(L"List"))
            return;
        readInt(m_doc, L"SizeOfView", list.sizeOfView);
        readInt(m_doc, L"ViewStartAt", list.viewStartAt);
        readInt(m_doc, L"CursorPos", list.cursorPos);
        readInt(m_doc, L"Cycles", list.cycles);
        int autoInterval = list.isAutoInterval ? 1 : 0;
        readInt(m_doc, L"IsAutoInterval", autoInterval);
        list.isAutoInterval = autoInterval != 0;
        readInt(m_doc, L"Delay", list.delay);

        m_doc.enterElement();
        while (m_doc.findElement(L"x")) {
            const int id = toInt(m_doc.getAttribute(L"ID"));
            if (id < 0 || id > kMaxItemId)
                continue;
            const auto index = static_cast<std::size_t>(id);
            if (index >= list.items.size()) {
                const long gap = static_cast<long>(index - list.items.size());
                if (gap > m_gapBudget)
                    continue;
                m_gapBudget -= gap;
                list.items.resize(index + 1);
                list.children.resize(index + 1);
            }
            list.items[index] = m_doc.getAttribute(L"t1");
            ActionList child;
            m_doc.enterElement();
            if (depth + 1 < kMaxListDepth)
                read(child, depth + 1);
            m_doc.leaveElement();
            list.children[index] = std::move(child);
        }
        m_doc.leaveElement();

        // A cursor of -1 and a start just past the end are what appending to
        // a list without visible rows leaves.
        list.sizeOfView = clampInt(list.sizeOfView, 0, kMaxViewRows);
        list.viewStartAt = clampInt(list.viewStartAt, 0, static_cast<int>(list.items.size()));
        list.cursorPos = clampInt(list.cursorPos, -1, kMaxViewRows);
        list.cycles = clampInt(list.cycles, 0, kMaxCycles);
        list.delay = clampInt(list.delay, 0, kMaxDelay);
    }

private:
    MarkupDocument& m_doc;
    long m_gapBudget = kGapItemBudget;
};

void writeList(MarkupDocument& doc, const ActionList& list) {
    doc.addElement(L"List");
    doc.setAttribute(L"SizeOfView", list.sizeOfView);
    doc.setAttribute(L"ViewStartAt", list.viewStartAt);
    doc.setAttribute(L"CursorPos", list.cursorPos);
    doc.setAttribute(L"Cycles", list.cycles);
    doc.setAttribute(L"IsAutoInterval", list.isAutoInterval ? 1 : 0);
    doc.setAttribute(L"Delay", list.delay);
    doc.enterElement();
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        doc.addElement(L"x");
        doc.setAttribute(L"ID", static_cast<int>(i));
        doc.setAttribute(L"t1", list.items[i]);
        doc.enterElement();
        writeList(doc, i < list.children.size() ? list.children[i] : ActionList());
        doc.leaveElement();
    }
    doc.leaveElement();
}

// Characters a list takes in the file, near enough to size the text once
// instead of growing (and copying) it step by step.
std::size_t textSize(const ActionList& list) {
    std::size_t size = 110;
    for (std::size_t i = 0; i < list.items.size(); ++i)
        size += 40 + list.items[i].size() + (i < list.children.size() ? textSize(list.children[i]) : 110);
    return size;
}

void writeSection(MarkupDocument& doc, std::wstring_view name, const ActionList& list) {
    doc.addElement(name);
    doc.enterElement();
    writeList(doc, list);
    doc.leaveElement();
}

void readSection(MarkupDocument& doc, ListReader& reader, std::wstring_view name, ActionList& list) {
    if (!doc.findElement(name))
        return;  // the next search starts from the same place
    doc.enterElement();
    reader.read(list, 0);
    doc.leaveElement();
}

// Line and column, both from 1, of a text offset; CR LF, LF and a lone CR
// each end a line.
void locate(std::wstring_view text, int offset, ProfileLoadResult& result) {
    result.line = 1;
    std::size_t lineStart = 0;
    const std::size_t end = std::min(text.size(), static_cast<std::size_t>(std::max(offset, 0)));
    for (std::size_t k = 0; k < end; ++k) {
        if (text[k] == L'\n' || (text[k] == L'\r' && (k + 1 >= text.size() || text[k + 1] != L'\n'))) {
            ++result.line;
            lineStart = k + 1;
        }
    }
    result.column = static_cast<int>(end - lineStart) + 1;
}

ProfileLoadResult failure(ProfileLoadResult::Status status, std::string reason) {
    ProfileLoadResult result;
    result.status = status;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

bool KeyboardProfile::saveProfile(const std::filesystem::path& path) const {
    MarkupDocument doc;
    doc.setDocument(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    std::size_t size = 8192 + textSize(predefinedCombo) + textSize(predefinedMacro) + textSize(predefinedEmu);
    for (const ActionList& sequence : sequences)
        size += 90 + textSize(sequence);
    doc.reserve(size + size / 16);
    doc.addElement(kRootName);
    doc.enterElement();

    writeSection(doc, L"PredefinedCombo", predefinedCombo);
    writeSection(doc, L"PredefinedMacro", predefinedMacro);
    writeSection(doc, L"PredefinedEmu", predefinedEmu);

    doc.addElement(L"BackgroundLightSettings");
    doc.enterElement();
    for (int id = 1; id <= kKeyCount; ++id) {
        const LightArea& area = lightAreas[static_cast<std::size_t>(id)];
        doc.addElement(L"AREA");
        doc.setAttribute(L"ID", id);
        doc.setAttribute(L"Red", area.red);
        doc.setAttribute(L"Green", area.green);
        doc.setAttribute(L"Blue", area.blue);
    }
    doc.leaveElement();

    doc.addElement(L"CurrentSettings");
    doc.enterElement();
    for (int id = 1; id <= kKeyCount; ++id) {
        for (int level = 0; level < 2; ++level) {
            const auto s = static_cast<std::size_t>(slot(id, level));
            doc.addElement(L"KEY");
            doc.setAttribute(L"ID", id);
            doc.setAttribute(L"Level", level);
            doc.setAttribute(L"Mode", modes[s]);
            doc.setAttribute(L"HWCode", hwCodes[s]);
            doc.enterElement();
            writeSection(doc, L"ComboKey", sequences[s]);
            doc.leaveElement();
        }
    }
    doc.leaveElement();
    doc.leaveElement();

    // MarkupDocument writes beside the target and renames over it only when
    // the whole file is written, so a failed save keeps the previous file.
    return doc.writeFile(path, doc.document());
}

bool KeyboardProfile::loadProfile(const std::filesystem::path& path) {
    return static_cast<bool>(loadProfileFile(path));
}

ProfileLoadResult KeyboardProfile::loadProfileFile(const std::filesystem::path& path) {
    using Status = ProfileLoadResult::Status;
    MarkupDocument doc;
    std::wstring text;
    if (!doc.readFile(path, text, kMaxProfileFileBytes)) {
        if (doc.fileError() == std::errc::file_too_large)
            return failure(Status::FileTooLarge, "profile files above " + std::to_string(kMaxProfileFileBytes >> 20) +
                                                     " MB are refused");
        return failure(Status::FileError, doc.fileError().message());
    }
    // A file that is not well-formed is refused whole: a cut or broken file
    // must not pass for one that leaves the rest of the keys unassigned.
    if (!doc.setDocument(std::move(text))) {
        ProfileLoadResult result = failure(Status::NotWellFormed, doc.firstError().message());
        locate(doc.document(), doc.firstError().offset, result);
        return result;
    }
    if (!doc.findElement(kRootName))
        return failure(Status::NotAProfile, "the root element is not <VelkorOndrix_108>");
    doc.enterElement();

    // Holders start at what a reset gives, so whatever the file leaves out
    // reads as the default; the profile changes only once all is read.
    ActionList combo;
    ActionList macro;
    ActionList emu;
    combo.sizeOfView = 6;
    macro.sizeOfView = 9;
    emu.sizeOfView = 9;
    std::array<LightArea, kLightAreaCount> areas{};
    std::array<int, kSlotCount> newModes{};
    std::array<int, kSlotCount> newHwCodes{};
    std::array<ActionList, kSlotCount> newSequences;
    for (int s = 0; s < kSlotCount; ++s) {
        const auto i = static_cast<std::size_t>(s);
        newHwCodes[i] = s / 2;
        newSequences[i].sizeOfView = sequences[i].sizeOfView;  // a reset keeps it
    }

    ListReader reader(doc);
    readSection(doc, reader, L"PredefinedCombo", combo);
    readSection(doc, reader, L"PredefinedMacro", macro);
    readSection(doc, reader, L"PredefinedEmu", emu);

    if (doc.findElement(L"BackgroundLightSettings")) {
        doc.enterElement();
        while (doc.findElement(L"AREA")) {
            const int id = toInt(doc.getAttribute(L"ID"));
            if (id < 1 || id > kKeyCount)
                continue;
            LightArea& area = areas[static_cast<std::size_t>(id)];
            readInt(doc, L"Red", area.red);
            readInt(doc, L"Green", area.green);
            readInt(doc, L"Blue", area.blue);
            area.red = clampInt(area.red, 0, 255);
            area.green = clampInt(area.green, 0, 255);
            area.blue = clampInt(area.blue, 0, 255);
        }
        doc.leaveElement();
    }

    if (doc.findElement(L"CurrentSettings")) {
        doc.enterElement();
        while (doc.findElement(L"KEY")) {
            const int id = toInt(doc.getAttribute(L"ID"));
            const int level = toInt(doc.getAttribute(L"Level"));
            if (id < 1 || id > kKeyCount || level < 0 || level > 1)
                continue;
            const auto s = static_cast<std::size_t>(slot(id, level));
            readInt(doc, L"Mode", newModes[s]);
            readInt(doc, L"HWCode", newHwCodes[s]);
            // Both index tables elsewhere (mode labels, code tables).
            if (newModes[s] < ModeNotSet || newModes[s] > ModePower)
                newModes[s] = ModeNotSet;
            if (newHwCodes[s] < 0 || newHwCodes[s] >= kCodeTableSize)
                newHwCodes[s] = id;
            // A KEY without ComboKey keeps the default sequence and does not
            // derail the reading of the KEYs after it.
            doc.enterElement();
            if (doc.findElement(L"ComboKey")) {
                doc.enterElement();
                reader.read(newSequences[s], 0);
                doc.leaveElement();
            }
            doc.leaveElement();
        }
        doc.leaveElement();
    }
    doc.leaveElement();

    predefinedCombo = std::move(combo);
    predefinedMacro = std::move(macro);
    predefinedEmu = std::move(emu);
    lightAreas = areas;
    modes = newModes;
    hwCodes = newHwCodes;
    for (std::size_t i = 0; i < newSequences.size(); ++i)
        sequences[i] = std::move(newSequences[i]);
    return {};
}
