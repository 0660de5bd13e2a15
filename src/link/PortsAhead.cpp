#include "link/PortsAhead.h"

#include <future>
#include <memory>
#include <mutex>

namespace PortNames {

Enumeration ahead(Enumeration enumerate) {
    if (!enumerate)
        return enumerate;
    struct Early {
        std::mutex taking;
        std::future<QList<Port>> list;
    };
    auto early = std::make_shared<Early>();
    early->list = std::async(std::launch::async, enumerate);
    return [early, enumerate = std::move(enumerate)] {
        {
            const std::lock_guard<std::mutex> lock(early->taking);
            if (early->list.valid())
                return early->list.get();
        }
        return enumerate();
    };
}

} // namespace PortNames
