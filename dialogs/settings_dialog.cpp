#include "dialogs/settings_dialog.h"

#include <cstddef>

#include "config/cp932.h"
#include "config/settings.h"
#include "resources/resource.h"

namespace {

constexpr int kEnChange = 0x300;

}  // namespace

SettingsWork settings_work_from(const Settings& s) {
    return SettingsWork{s.BackImage != 0, s.BackMode, s.clock != 0, s.method != 0};
}

void background_enabling(const SettingsWork& w, ControlState out[kBackgroundControls]) {
    const bool whole = w.image_on && w.area_mode == 0;
    const bool band = w.image_on && w.area_mode != 0;
    const ControlState states[kBackgroundControls] = {
        {IDC_SET_BACK_WHOLE, w.image_on},        {IDC_SET_BACK_RIGHT, w.image_on},
        {IDC_SET_BACK_BOTTOM, w.image_on},       {IDC_SET_BACK_FILE_LABEL, w.image_on},
        {IDC_SET_BACK_FILE, w.image_on},         {IDC_SET_BACK_BROWSE, w.image_on},
        {IDC_SET_TRANSPARENT_LABEL, whole},      {IDC_SET_BACK_TRANSPARENT, whole},
        {IDC_SET_TRANSPARENT_UNIT, whole},       {IDC_SET_AREA_LABEL, band},
        {IDC_SET_BACK_AREA, band},               {IDC_SET_AREA_UNIT, band},
    };
    for (int i = 0; i < kBackgroundControls; ++i) out[i] = states[i];
}

void clock_enabling(const SettingsWork& w, ControlState out[kClockControls]) {
    out[0] = {IDC_SET_CLOCK_12H, w.clock_on};
    out[1] = {IDC_SET_CLOCK_ANALOG, w.clock_on};
    out[2] = {IDC_SET_CLOCK_SECONDS, w.clock_on};
    out[3] = {IDC_SET_CLOCK_AMPM_AFTER, w.clock_on && w.twelve_hour};
}

namespace {

const SettingControl* control_of(int id) {
    for (const SettingControl& c : kSettingControls)
        if (c.id == id) return &c;
    return nullptr;
}

// A path edit shows a text field, every other control an integer one.
bool bindable(const SettingControl& c, const SettingKey& k) {
    return (c.kind == ControlKind::kPath) == (k.kind == SettingKind::kText);
}

// The radios of one group: the rows bound to the same field.
template <class Fn>
void each_in_group(const SettingControl& c, Fn fn) {
    for (const SettingControl& r : kSettingControls)
        if (r.kind == ControlKind::kRadio && r.field == c.field) fn(r);
}

bool first_of_group(const SettingControl& c) {
    for (const SettingControl& r : kSettingControls) {
        if (&r == &c) return true;
        if (r.kind == ControlKind::kRadio && r.field == c.field) return false;
    }
    return false;
}

bool radio_shown(const Settings& s, const SettingKey& k, const SettingControl& c) {
    const int v = setting_int(s, k);
    if (v == c.value) return true;
    if (!(c.rules & kShownForOthers)) return false;
    bool any = false;
    each_in_group(c, [&](const SettingControl& r) { any = any || r.value == v; });
    return !any;
}

}  // namespace

void settings_dialog_values(const Settings& s, ControlValue out[]) {
    for (size_t i = 0; i < kSettingControlCount; ++i) {
        const SettingControl& c = kSettingControls[i];
        ControlValue v = {c.id, false, 0, nullptr};
        const SettingKey* k = setting_key_at(c.field);
        if (k && bindable(c, *k)) {
            switch (c.kind) {
            case ControlKind::kCheck: v.checked = setting_int(s, *k) != 0; break;
            case ControlKind::kRadio: v.checked = radio_shown(s, *k, c); break;
            case ControlKind::kNumber:
                v.number = static_cast<unsigned>(setting_in_range(setting_int(s, *k), *k));
                break;
            case ControlKind::kPath: v.text = setting_text(s, *k); break;
            }
        }
        out[i] = v;
    }
}

namespace {

const ControlValue* value_of(const ControlValue* values, size_t count, int id) {
    for (size_t i = 0; i < count; ++i)
        if (values[i].id == id) return &values[i];
    return nullptr;
}

// The value of the group's checked radio; else of its kReadWhenNone radio; else the field
// stays. A group whose radios have no values keeps its field.
void read_radio_group(const ControlValue* values, size_t count, const SettingControl& first,
                      const SettingKey& k, Settings* s) {
    const SettingControl* chosen = nullptr;
    const SettingControl* fallback = nullptr;
    bool read = false;
    each_in_group(first, [&](const SettingControl& r) {
        const ControlValue* v = value_of(values, count, r.id);
        if (!v) return;
        read = true;
        if (v->checked && !chosen) chosen = &r;
        if (r.rules & kReadWhenNone) fallback = &r;
    });
    if (!read) return;
    if (!chosen) chosen = fallback;
    if (chosen) setting_int(*s, k) = chosen->value;
}

}  // namespace

void settings_from_dialog(const ControlValue* values, size_t count, Settings* s) {
    for (const SettingControl& c : kSettingControls) {
        const SettingKey* k = setting_key_at(c.field);
        if (!k || !bindable(c, *k)) continue;
        if (c.kind == ControlKind::kRadio) {
            if (first_of_group(c)) read_radio_group(values, count, c, *k, s);
            continue;
        }
        const ControlValue* v = value_of(values, count, c.id);
        if (!v) continue;
        switch (c.kind) {
        case ControlKind::kCheck: setting_int(*s, *k) = v->checked ? 1 : 0; break;
        case ControlKind::kNumber: setting_int(*s, *k) = setting_in_range(v->number, *k); break;
        case ControlKind::kPath: cp932_copy(setting_text(*s, *k), k->size, v->text ? v->text : ""); break;
        case ControlKind::kRadio: break;
        }
    }
}

SettingsAction settings_command_action(int id, int notify) {
    switch (id) {
    case IDC_SET_CLOCK: return SettingsAction::toggle_clock;
    case IDC_SET_CLOCK_12H: return SettingsAction::toggle_twelve_hour;
    case IDC_SET_BACK_IMAGE: return SettingsAction::image_switch;
    case IDC_SET_BACK_WHOLE:
    case IDC_SET_BACK_RIGHT:
    case IDC_SET_BACK_BOTTOM: return SettingsAction::area_mode;
    case IDC_SET_BACK_BROWSE: return SettingsAction::browse;
    case 1: return SettingsAction::ok;
    case 2: return SettingsAction::cancel;
    case IDC_SET_APPLY: return SettingsAction::apply;
    default: break;
    }
    // Every other bound control only enables 更新: a button when clicked, a number edit when
    // its text changes. The path changes through 参照 alone.
    const SettingControl* c = control_of(id);
    if (!c) return SettingsAction::none;
    switch (c->kind) {
    case ControlKind::kCheck:
    case ControlKind::kRadio: return SettingsAction::changed;
    case ControlKind::kNumber: return notify == kEnChange ? SettingsAction::changed : SettingsAction::none;
    case ControlKind::kPath: break;
    }
    return SettingsAction::none;
}
