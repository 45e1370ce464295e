// Linux build: the registry interface over the store file (registry_file_native.h).
// Every opening of a root starts a session: the file is locked and loaded, and changes are
// saved when the caller flushes or the last key of the session closes. Keys opened while a
// session is alive on this thread share it, so nested openings never wait on their own lock.
#include "app/registry_key.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/registry_file_native.h"

namespace {
class StoreSession;
// The session alive on this thread, if any (a plain pointer: nothing to destroy at exit).
thread_local StoreSession* t_session = nullptr;

class StoreSession : public std::enable_shared_from_this<StoreSession> {
public:
    StoreSession() : m_path(RegistryStorePath())
    {
        t_session = this;
        std::string lockPath = m_path + ".lock";
        size_t slash = m_path.find_last_of('/');
        if (slash != std::string::npos)
            CreateFolders(m_path.substr(0, slash));
        m_lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
        if (m_lock >= 0)
            ::flock(m_lock, LOCK_EX);
        m_damaged = !LoadRegistryFile(m_path, m_store);
    }
    ~StoreSession()
    {
        if (t_session == this)
            t_session = nullptr;
        Flush();
        if (m_lock >= 0)
            ::close(m_lock); // releases the lock
    }

    CRegistryStore& Store() { return m_store; }
    void MarkChanged() { m_changed = true; }
    bool Flush()
    {
        if (!m_changed)
            return true;
        if (!SaveRegistryFile(m_path, m_store, m_damaged))
            return false;
        m_changed = m_damaged = false;
        return true;
    }

private:
    static void CreateFolders(const std::string& folder)
    {
        for (size_t at = 1; at <= folder.size(); ++at)
            if (at == folder.size() || folder[at] == '/')
                ::mkdir(folder.substr(0, at).c_str(), 0700);
    }

    std::string m_path;
    CRegistryStore m_store;
    int m_lock = -1;
    bool m_damaged = false;
    bool m_changed = false;
};

class StoreKey : public CRegistryKey {
public:
    StoreKey(std::shared_ptr<StoreSession> session, std::shared_ptr<RegStoreNode> node)
        : m_session(std::move(session)), m_node(std::move(node)) {}

    std::unique_ptr<CRegistryKey> OpenSubKey(const std::string& name, bool create) override
    {
        if (name.empty() || name.find('\\') != std::string::npos || name.size() > CRegistryStore::kMaxKeyName)
            return nullptr;
        auto sub = m_node->FindSubKey(name);
        if (!sub && create) {
            sub = m_node->AddSubKey(name);
            m_session->MarkChanged();
        }
        return sub ? std::make_unique<StoreKey>(m_session, sub) : nullptr;
    }
    bool QueryValue(const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override
    {
        const RegStoreValue* v = m_node->FindValue(name);
        if (!v)
            return false;
        type = v->type;
        data = v->data;
        return true;
    }
    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override
    {
        if (name.size() > CRegistryStore::kMaxValueName)
            return false;
        m_node->SetValue(name, type, data);
        m_session->MarkChanged();
        return true;
    }
    bool DeleteValue(const std::string& name) override
    {
        if (!m_node->DeleteValue(name))
            return false;
        m_session->MarkChanged();
        return true;
    }
    bool DeleteSubKey(const std::string& name) override
    {
        if (!m_node->DeleteSubKey(name))
            return false;
        m_session->MarkChanged();
        return true;
    }
    bool EnumValue(uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data) override
    {
        if (index >= m_node->values.size())
            return false;
        const RegStoreValue& v = m_node->values[index];
        name = v.name;
        type = v.type;
        data = v.data;
        return true;
    }
    bool EnumSubKey(uint32_t index, std::string& name) override
    {
        if (index >= m_node->subkeys.size())
            return false;
        name = m_node->subkeys[index]->name;
        return true;
    }
    bool Flush() override { return m_session->Flush(); }

private:
    std::shared_ptr<StoreSession> m_session;
    std::shared_ptr<RegStoreNode> m_node;
};
} // namespace

std::unique_ptr<CRegistryKey> OpenRegistryRoot(RegRoot root)
{
    std::shared_ptr<StoreSession> session =
        t_session ? t_session->shared_from_this() : std::make_shared<StoreSession>();
    auto node = session->Store().Root(root);
    return node ? std::make_unique<StoreKey>(session, node) : nullptr;
}
