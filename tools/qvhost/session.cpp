#include <cstdio>

#include "host/system/machine.h"
#include "host/system/utf.h"
#include "tools/qvhost/command.h"

namespace qvhost {

bool Session::OpenMachine(std::string& error) {
    if (!host::OpenMachine(root_, error)) {
        return false;
    }
    host::SetCurrentUser(user_);
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "qvhost: %s\n", message.c_str());
    return 1;
}

int WrongUse(const Session& session, const std::string& message) {
    std::fprintf(stderr, "qvhost: %s (see qvhost %s --help)\n", message.c_str(),
                 session.command ? session.command->name : "");
    return 2;
}

}  // namespace qvhost
