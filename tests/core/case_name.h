// SPDX-FileCopyrightText: 2026 The Kelmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace kelmora::testing {

// Names parameterised cases after their `name` field, so a failure says which row broke.
struct CaseName {
    template <class Info> std::string operator()(const Info& caseInfo) const {
        return std::string(caseInfo.param.name);
    }
};

} // namespace kelmora::testing
