#pragma once

#include "module/funknown.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <vector>

namespace Brennovar::RefHost {

/// The client objects (listeners, handlers) registered with a host object, in registration
/// order. The host holds one reference to each from add until remove or releaseAll.
template <class Client>
class ClientList {
public:
    ClientList() = default;
    ClientList(const ClientList&) = delete;
    ClientList& operator=(const ClientList&) = delete;

    /// Appends the client and takes a reference. ResultInvalidArgument for null, ResultFalse
    /// when already registered.
    ResultCode add(Client* client) noexcept {
        if (!client)
            return ResultInvalidArgument;
        if (contains(client))
            return ResultFalse;
        try {
            clients_.push_back(client);
        } catch (...) {
            return ResultFailed;
        }
        client->addRef();
        return ResultOk;
    }

    /// Forgets the client and releases the host's reference. ResultFalse when not registered.
    ResultCode remove(Client* client) noexcept {
        auto found = std::find(clients_.begin(), clients_.end(), client);
        if (!client || found == clients_.end())
            return ResultFalse;
        clients_.erase(found);
        client->release();
        return ResultOk;
    }

    /// Calls tell(client) for each client registered when the call begins, in registration
    /// order. A client may remove itself (or others) while it is told; each one told is held
    /// meanwhile. When tell answers a bool, true ends the round.
    template <class Tell>
    void notify(Tell tell) {
        std::vector<Client*> clients = clients_;
        for (Client* client : clients) {
            client->addRef();
            bool done = false;
            if constexpr (std::is_same_v<std::invoke_result_t<Tell&, Client*>, bool>)
                done = tell(client);
            else
                tell(client);
            client->release();
            if (done)
                break;
        }
    }

    /// Releases the host's references and forgets the clients; returns how many there were.
    std::size_t releaseAll() noexcept {
        std::vector<Client*> clients;
        clients.swap(clients_);
        for (Client* client : clients)
            client->release();
        return clients.size();
    }

    std::size_t size() const noexcept { return clients_.size(); }

private:
    bool contains(Client* client) const noexcept {
        return std::find(clients_.begin(), clients_.end(), client) != clients_.end();
    }

    std::vector<Client*> clients_;
};

} // namespace Brennovar::RefHost
