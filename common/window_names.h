#pragma once

#include <QString>

// The name a window is registered, opened and found under; it is also the window's objectName.
// Only the lists below make names, so a misspelt window name does not compile.
class WindowName {
public:
    constexpr WindowName() = default;  // no window
    QString text() const { return QString::fromLatin1(m_name); }

private:
    constexpr explicit WindowName(const char* name) : m_name(name) {}
    const char* m_name = "";

    friend struct LauncherWindows;
    friend struct OesoWindows;
    friend struct IleumWindows;
    friend struct RabbitWindows;
    friend struct HeartWindows;
};

// The main program's own windows.
struct LauncherWindows {
    static constexpr WindowName Frm_morvane{"Frm_morvane"};
    static constexpr WindowName Frm_Selection{"Frm_Selection"};
    static constexpr WindowName Frm_instruct{"Frm_instruct"};
    static constexpr WindowName HeartMsg{"HeartMsg"};
};

struct OesoWindows {
    static constexpr WindowName Frm_Oeso_main{"Frm_Oeso_main"};
    static constexpr WindowName Frm_Oesophagus{"Frm_Oesophagus"};
    static constexpr WindowName Frm_Oeso_Table{"Frm_Oeso_Table"};
    static constexpr WindowName Frm_Oeso_Quest{"Frm_Oeso_Quest"};
};

struct IleumWindows {
    static constexpr WindowName Frm_il_main{"Frm_il_main"};
    static constexpr WindowName Frm_Ileum{"Frm_Ileum"};
    static constexpr WindowName Frm_I_Exam{"Frm_I_Exam"};
    static constexpr WindowName Frm_Ile_Question{"Frm_Ile_Question"};
};

struct RabbitWindows {
    static constexpr WindowName Frm_Rab_main{"Frm_Rab_main"};
    static constexpr WindowName Frm_Rabbit{"Frm_Rabbit"};
    static constexpr WindowName Frm_Rab_Table{"Frm_Rab_Table"};
};

// The heart program's windows.
struct HeartWindows {
    static constexpr WindowName Frm_Heart_Main{"Frm_Heart_Main"};
    static constexpr WindowName Frm_Heart{"Frm_Heart"};
    static constexpr WindowName Frm_Question{"Frm_Question"};
    static constexpr WindowName Frm_Heart_Table{"Frm_Heart_Table"};
};

// Every window name, for finding one by its text (a test's table of cases, say).
inline constexpr WindowName allWindowNames[] = {
    LauncherWindows::Frm_morvane,  LauncherWindows::Frm_Selection, LauncherWindows::Frm_instruct,
    LauncherWindows::HeartMsg,     OesoWindows::Frm_Oeso_main,     OesoWindows::Frm_Oesophagus,
    OesoWindows::Frm_Oeso_Table,   OesoWindows::Frm_Oeso_Quest,    IleumWindows::Frm_il_main,
    IleumWindows::Frm_Ileum,       IleumWindows::Frm_I_Exam,       IleumWindows::Frm_Ile_Question,
    RabbitWindows::Frm_Rab_main,   RabbitWindows::Frm_Rabbit,      RabbitWindows::Frm_Rab_Table,
    HeartWindows::Frm_Heart_Main,  HeartWindows::Frm_Heart,        HeartWindows::Frm_Question,
    HeartWindows::Frm_Heart_Table,
};
