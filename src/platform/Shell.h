#pragma once

#include <QString>

#include <memory>

namespace Platform {

// Opens a target ("mailto:..." or a web address) with the user's default program for it.
class Shell {
public:
    virtual ~Shell() = default;

    // Returns at once; a failure (no mail program, no browser) is logged and changes nothing.
    virtual void open(const QString& target) = 0;
};

std::unique_ptr<Shell> makeShell();

} // namespace Platform
