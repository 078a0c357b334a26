// The Chinese names of the keyboard's own functions, as the key assignment
// editor shows them on its multimedia, mouse, function and power pages. The
// name tables (keyNames) have English names only, and those are what profile
// files store; these are for showing a function to a Chinese reader.
#pragma once

struct ChineseFunctionName {
    int hwCode;
    const wchar_t* name;
};

inline constexpr ChineseFunctionName kChineseFunctionNames[] = {
    // Multimedia.
    {115, L"播放器"}, {111, L"播放/暂停"}, {110, L"停止"}, {108, L"下一首"}, {109, L"上一首"},
    {114, L"音量减小"}, {113, L"音量加大"}, {112, L"静音"}, {121, L"后退"}, {122, L"前进"},
    {123, L"停止"}, {124, L"刷新"}, {125, L"收藏夹"}, {119, L"搜索"}, {116, L"邮件"},
    {120, L"主页"}, {118, L"资源管理器"}, {117, L"计算器"},
    // Mouse.
    {126, L"左移"}, {127, L"右移"}, {128, L"上移"}, {129, L"下移"}, {130, L"左键"},
    {131, L"右键"}, {132, L"中键"}, {133, L"滚轮前翻"}, {134, L"滚轮后翻"}, {199, L"左键双击"},
    // Keyboard and backlight functions.
    {149, L"6键/全键无冲切换"}, {150, L"键盘锁"}, {151, L"按键灵敏度调节"}, {152, L"Ctrl和Caps对调"},
    {153, L"锁Win"}, {154, L"扫描延时调节"}, {155, L"上传率调节"}, {158, L"鼠标DPI-"},
    {157, L"鼠标DPI+"}, {156, L"下档组合键"}, {159, L"可编程键盘"}, {137, L"演示"},
    {138, L"流星雨"}, {139, L"涟漪"}, {145, L"背光亮度-"}, {144, L"背光亮度+"},
    {135, L"背光开关"}, {141, L"背光呼吸"}, {136, L"背光自定义"}, {143, L"呼吸频率+"},
    {142, L"呼吸频率-"}, {146, L"日落/放松模式"}, {148, L"全盘颜色调节"},
    // Power.
    {75, L"唤醒"}, {76, L"睡眠"}, {77, L"电源"},
};

// Null where the editor offers no Chinese name for the code.
inline const wchar_t* chineseFunctionName(int hwCode) {
    for (const ChineseFunctionName& entry : kChineseFunctionNames)
        if (entry.hwCode == hwCode)
            return entry.name;
    return nullptr;
}
