#pragma once
// A case on a form of its own, with the fake platform: the scenarios' tests
// act on `live` and read the scenarios through `scenarios`.

#include <string>
#include <vector>

#include "commands/case.h"
#include "commands/form.h"
#include "fake_platform.h"

namespace kbt2::testing_support {

struct CaseFixture {
    FakePlatform platform;
    Form live{platform};
    Case scenarios{live};

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (size_t i = 0; i < scenarios.size(); ++i) out.push_back(scenarios.name(i));
        return out;
    }
    const std::string& text(const std::string& scenario, FieldRef field) const {
        return scenarios.worksheet(*scenarios.find(scenario)).text(field);
    }
};

}  // namespace kbt2::testing_support
