#pragma once
// Every control of the main window that holds a value or raises an event.
// A control is a single field or a control array; an element is addressed by
// the control and an index (0 for a single field).

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kbt2 {

enum class Kind { Text, Masked, Check, Option, Button };

// Option buttons of one group are mutually exclusive. All county options of
// all five states form a single group.
enum class OptionGroup { None, Identification, Accounting, State, County };

// Display formats of the masked number fields: applied only while a field
// does not have the input focus.
enum class DisplayFormat { None, WholeDollars, Dollars, Amount };

// clang-format off
// X(name, kind, elements (0 = single field), option group, display format)
#define KBT2_CONTROLS(X) \
    X(Producer1,     Text,   0,  None,           None)         \
    X(Producer2,     Text,   0,  None,           None)         \
    X(Producer3,     Text,   0,  None,           None)         \
    X(ProducerPhone, Text,   0,  None,           None)         \
    X(TaxEntity,     Text,   0,  None,           None)         \
    X(SSN,           Option, 0,  Identification, None)         \
    X(EIN,           Option, 0,  Identification, None)         \
    X(SSNEIN,        Text,   0,  None,           None)         \
    X(IRSCash,       Option, 0,  Accounting,     None)         \
    X(IRSAcc,        Option, 0,  Accounting,     None)         \
    X(InsuranceYear, Text,   0,  None,           None)         \
    X(Agent1,        Text,   0,  None,           None)         \
    X(Agent2,        Text,   0,  None,           None)         \
    X(Agent3,        Text,   0,  None,           None)         \
    X(AgentPhone,    Text,   0,  None,           None)         \
    X(AgentCode,     Text,   0,  None,           None)         \
    X(MPCI,          Text,   0,  None,           None)         \
    X(statename,     Text,   0,  None,           None)         \
    X(countyname,    Text,   0,  None,           None)         \
    X(Infobox,       Text,   0,  None,           None)         \
    X(St,            Option, 5,  State,          None)         \
    X(Mi1,           Option, 5,  County,         None)         \
    X(Me1,           Option, 4,  County,         None)         \
    X(Ma1,           Option, 14, County,         None)         \
    X(Nh1,           Option, 7,  County,         None)         \
    X(Fl1,           Option, 6,  County,         None)         \
    X(Allinc1,       Masked, 5,  None,           WholeDollars) \
    X(Allexp1,       Masked, 5,  None,           WholeDollars) \
    X(Totalinc,      Text,   0,  None,           None)         \
    X(Averageinc,    Text,   0,  None,           None)         \
    X(Text29,        Text,   0,  None,           None)         \
    X(Totalexp,      Text,   0,  None,           None)         \
    X(Averageexp,    Text,   0,  None,           None)         \
    X(Text30,        Text,   0,  None,           None)         \
    X(GrowthFact,    Text,   0,  None,           None)         \
    X(Crop,          Check,  52, None,           None)         \
    X(Crop1,         Check,  52, None,           None)         \
    X(Crop2,         Check,  58, None,           None)         \
    X(Cropname1,     Text,   14, None,           None)         \
    X(Type1,         Text,   14, None,           None)         \
    X(Unit1,         Text,   14, None,           None)         \
    X(YearProd,      Masked, 14, None,           None)         \
    X(Intamt1,       Masked, 14, None,           None)         \
    X(Totamt1,       Masked, 14, None,           Amount)       \
    X(Expval1,       Masked, 14, None,           Dollars)      \
    X(Total1,        Text,   14, None,           None)         \
    X(Text15,        Text,   2,  None,           None)         \
    X(Projkbt,       Text,   0,  None,           None)         \
    X(Text21,        Text,   0,  None,           None)         \
    X(Croptext,      Text,   0,  None,           None)         \
    X(Lvstex,        Text,   0,  None,           None)         \
    X(Mpciex,        Text,   0,  None,           None)         \
    X(Text23,        Text,   3,  None,           None)         \
    X(Text24,        Text,   3,  None,           None)         \
    X(Text25,        Text,   3,  None,           None)         \
    X(Text26,        Text,   3,  None,           None)         \
    X(Text27,        Text,   3,  None,           None)         \
    X(Text28,        Text,   3,  None,           None)         \
    X(Text16,        Text,   3,  None,           None)         \
    X(Text17,        Text,   3,  None,           None)         \
    X(Text18,        Text,   3,  None,           None)         \
    X(Clear,         Button, 0,  None,           None)         \
    X(Command1,      Button, 0,  None,           None)         \
    X(Print,         Button, 0,  None,           None)         \
    X(save,          Button, 0,  None,           None)         \
    X(Load,          Button, 0,  None,           None)         \
    X(Command2,      Button, 0,  None,           None)         \
    X(Command3,      Button, 0,  None,           None)         \
    X(Command4,      Button, 0,  None,           None)         \
    X(Command5,      Button, 0,  None,           None)
// clang-format on

enum class Control : int {
#define KBT2_ENUM(name, kind, count, group, format) name,
    KBT2_CONTROLS(KBT2_ENUM)
#undef KBT2_ENUM
};

struct ControlInfo {
    Control control;
    std::string_view name;
    Kind kind;
    int elements;  // 0 for a single field, else the size of the control array
    OptionGroup group;
    DisplayFormat format;

    bool isArray() const { return elements > 0; }
    int slots() const { return elements > 0 ? elements : 1; }
};

inline constexpr ControlInfo kControls[] = {
#define KBT2_INFO(name, kind, count, group, format) \
    {Control::name, #name, Kind::kind, count, OptionGroup::group, DisplayFormat::format},
    KBT2_CONTROLS(KBT2_INFO)
#undef KBT2_INFO
};

inline constexpr int kControlCount = static_cast<int>(std::size(kControls));

constexpr const ControlInfo& info(Control c) { return kControls[static_cast<int>(c)]; }

// One element of a control: a single field has index 0.
struct FieldRef {
    Control control;
    int index = 0;

    friend bool operator==(const FieldRef&, const FieldRef&) = default;
};

// "Allinc1(0)" for an array element, "SSN" for a single field.
std::string refName(FieldRef ref);

// Parses a control name as written in a script or an objectName.
// Returns nothing for an unknown name, a missing or superfluous index, or an
// index out of range.
std::optional<FieldRef> parseRef(std::string_view text);

std::optional<Control> controlByName(std::string_view name);

}  // namespace kbt2
