#include "sync/sync_passwords.h"
#include "sync/winhttp_send.h"

#include <windows.h>
#include <wincred.h>

#include <map>

namespace {

std::map<std::string, std::string> runPasswords;

std::string accountKey(const std::string& url, const std::string& user)
{
    return url + '\n' + user;
}

std::wstring credentialTarget(const std::string& url, const std::string& user)
{
    return wide("ORDANE-Lumo sync " + url + " " + user);
}

// The stored password, its bytes as they were given (UTF-8).
bool readStoredPassword(const std::string& url, const std::string& user, std::string* password)
{
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(credentialTarget(url, user).c_str(), CRED_TYPE_GENERIC, 0, &credential))
        return false;
    if (password)
        password->assign(reinterpret_cast<const char*>(credential->CredentialBlob), credential->CredentialBlobSize);
    CredFree(credential);
    return true;
}

}  // namespace

bool knownSyncPassword(const std::string& url, const std::string& user, std::string& password)
{
    auto found = runPasswords.find(accountKey(url, user));
    if (found != runPasswords.end()) {
        password = found->second;
        return true;
    }
    return readStoredPassword(url, user, &password);
}

void keepSyncPasswordForRun(const std::string& url, const std::string& user, const std::string& password)
{
    runPasswords[accountKey(url, user)] = password;
}

void forgetSyncPasswordForRun(const std::string& url, const std::string& user)
{
    runPasswords.erase(accountKey(url, user));
}

bool storedSyncPasswordExists(const std::string& url, const std::string& user)
{
    return readStoredPassword(url, user, nullptr);
}

bool storeSyncPassword(const std::string& url, const std::string& user, const std::string& password)
{
    std::wstring target = credentialTarget(url, user);
    std::wstring userName = wide(user);
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = userName.data();
    credential.CredentialBlobSize = static_cast<DWORD>(password.size());
    credential.CredentialBlob = reinterpret_cast<LPBYTE>(const_cast<char*>(password.data()));
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    return CredWriteW(&credential, 0) != 0;
}

void deleteStoredSyncPassword(const std::string& url, const std::string& user)
{
    CredDeleteW(credentialTarget(url, user).c_str(), CRED_TYPE_GENERIC, 0);
}
