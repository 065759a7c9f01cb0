// The sync password in the Windows Credential Manager (a generic credential of the
// program's own per server), never in a file of the program.
#pragma once

#include <string>

// "Zelmar CalDAV https://host:port": one credential per server the user syncs with.
std::wstring credential_target(const std::string& server_url);

bool credential_save(const std::wstring& target, const std::wstring& user, const std::wstring& password);
// False when there is none (user and password then empty).
bool credential_load(const std::wstring& target, std::wstring* user, std::wstring* password);
bool credential_delete(const std::wstring& target);
