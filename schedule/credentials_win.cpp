#include "schedule/credentials_win.h"

#include <windows.h>
#include <wincred.h>

#include "schedule/dav_url.h"

std::wstring credential_target(const std::string& server_url) {
    DavUrl url;
    std::string origin = server_url;
    if (dav_url_parse(server_url.c_str(), &url)) {
        url.path = "/";
        url.query.clear();
        origin = dav_url_text(url);
        origin.pop_back();  // no trailing "/"
    }
    std::wstring target = L"Zelmar CalDAV ";
    for (char c : origin) target += (wchar_t)(unsigned char)c;  // ASCII after parsing
    return target;
}

bool credential_save(const std::wstring& target, const std::wstring& user, const std::wstring& password) {
    const size_t bytes = password.size() * sizeof(wchar_t);
    if (bytes > CRED_MAX_CREDENTIAL_BLOB_SIZE || user.size() > CRED_MAX_USERNAME_LENGTH) return false;
    CREDENTIALW c = {};
    c.Type = CRED_TYPE_GENERIC;
    c.TargetName = const_cast<wchar_t*>(target.c_str());
    c.CredentialBlobSize = (DWORD)bytes;
    c.CredentialBlob = reinterpret_cast<BYTE*>(const_cast<wchar_t*>(password.data()));
    c.Persist = CRED_PERSIST_LOCAL_MACHINE;
    c.UserName = const_cast<wchar_t*>(user.c_str());
    return CredWriteW(&c, 0) != FALSE;
}

bool credential_load(const std::wstring& target, std::wstring* user, std::wstring* password) {
    user->clear();
    password->clear();
    PCREDENTIALW c = nullptr;
    if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &c) || !c) return false;
    // The size comes from the system's store: checked before the blob is read.
    const DWORD bytes = c->CredentialBlobSize;
    const bool ok = bytes <= CRED_MAX_CREDENTIAL_BLOB_SIZE && bytes % sizeof(wchar_t) == 0 &&
                    (bytes == 0 || c->CredentialBlob);
    if (ok) {
        password->assign(reinterpret_cast<const wchar_t*>(c->CredentialBlob), bytes / sizeof(wchar_t));
        if (c->UserName) user->assign(c->UserName, wcsnlen(c->UserName, CRED_MAX_USERNAME_LENGTH));
        SecureZeroMemory(c->CredentialBlob, bytes);
    }
    CredFree(c);
    return ok;
}

bool credential_delete(const std::wstring& target) {
    return CredDeleteW(target.c_str(), CRED_TYPE_GENERIC, 0) != FALSE;
}
