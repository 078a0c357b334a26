#include "ScreenshotCatalogue.h"

#include "jobs/FirmwareWindowLayout.h"
#include "jobs/ProgressWindowLayout.h"
#include "profile/KeyboardProfile.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/CSkinDialog.h"
#include "shell/MainWindowLayout.h"

namespace {

// The bare skinned window of a layout table: its background and captions,
// and once more with every control active, to review the artwork.
void addBase(std::vector<ScreenshotEntry>& entries, const layout::Window& table) {
    const std::string name = std::string(table.name) + "-base";
    entries.push_back({name, [&table](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           return std::make_unique<CSkinDialog>(table, context.profile.language);
                       }});
    entries.push_back({name + "-active", [&table](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           auto window = std::make_unique<CSkinDialog>(table, context.profile.language);
                           for (SkinControl& control : window->controls())
                               control.active = true;
                           return window;
                       }});
}

}  // namespace

std::vector<ScreenshotEntry> screenshotCatalogue() {
    std::vector<ScreenshotEntry> entries;
    for (const layout::Window* table :
         {&layout::mainWindow, &layout::backlightWindow, &layout::progressWindow, &layout::firmwareWindow})
        addBase(entries, *table);
    return entries;
}
