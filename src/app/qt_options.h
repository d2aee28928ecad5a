#pragma once

#include "cli/argument_loop.h"

#include <array>

namespace kfg::app {

// Every row of Qt's options carries this id; kfg numbers its own from 0.
inline constexpr cli::OptionId kQtOption = -1;

// Qt's own options, which Qt reads from argv itself, with one dash or two. kfg reads them
// first, with their values, and hands them to the application object: so "-style fusion"
// gives no folder "fusion", and "-style=fusion --version" still prints the version.
inline constexpr auto kQtOptions = std::to_array<cli::Option>({
    {.longName = "platform", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "platformpluginpath", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "platformtheme", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "plugin", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "qwindowgeometry", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "qwindowicon", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "qwindowtitle", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "session", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "display", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "geometry", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "title", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "icon", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "name", .value = cli::Value::Separate, .id = kQtOption},
    {.longName = "style", .value = cli::Value::Either, .id = kQtOption},
    {.longName = "stylesheet", .value = cli::Value::Either, .id = kQtOption},
    {.longName = "qmljsdebugger", .value = cli::Value::Joined, .id = kQtOption},
    {.longName = "reverse", .id = kQtOption},
    {.longName = "widgetcount", .id = kQtOption},
    {.longName = "sync", .id = kQtOption},
    {.longName = "nograb", .id = kQtOption},
    {.longName = "dograb", .id = kQtOption},
    {.longName = "testability", .id = kQtOption},
});

} // namespace kfg::app
