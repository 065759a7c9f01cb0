#include "schedule/sync_journal.h"

#include "config/fileio.h"
#include "schedule/dav_url.h"
#include "schedule/stored_fields.h"
#include "schedule/sync_item.h"

namespace {

const char kJournalMagic[] = "ZelmarSyncJournal\t1";
constexpr size_t kJournalMaxField = kDavMaxUrl * 2;

bool read_journal(StoredReader* r, SyncJournal* j) {
    const char* s;
    size_t n;
    if (!stored_line(r, &s, &n) || std::string(s, n) != kJournalMagic) return false;
    std::vector<std::string> f;
    if (!stored_fields(r, 2, kJournalMaxField, &f) || f[0] != "collection") return false;
    j->collection = f[1];
    if (!stored_fields(r, 2, kJournalMaxField, &f) || f[0] != "token") return false;
    j->token = f[1];
    for (;;) {
        StoredReader at = *r;
        if (stored_fields(r, 2, kJournalMaxField, &f) && f[0] == "end") {
            uint64_t count;
            return stored_parse_decimal(f[1], kSyncJournalMaxItems, &count) &&
                   count == j->items.size() && r->p == r->end;
        }
        *r = at;
        if (!stored_fields(r, 7, kJournalMaxField, &f) || f[0] != "item") return false;
        if (j->items.size() >= kSyncJournalMaxItems) return false;
        SyncJournalItem it;
        it.href = f[1];
        it.uid = f[2];
        it.etag = f[3];
        if (it.href.empty() || it.uid.size() > kSyncMaxUid) return false;
        if (!stored_parse_hex(f[4], &it.server_hash) || !stored_parse_hex(f[5], &it.base_hash))
            return false;
        // 1 held, 0 left on the server, 2 left there as the list cannot hold it.
        if (f[6] != "0" && f[6] != "1" && f[6] != "2") return false;
        it.held = f[6] == "1";
        it.unreadable = f[6] == "2";
        j->items.push_back(std::move(it));
    }
}

}  // namespace

std::string sync_journal_text(const SyncJournal& j) {
    std::string s = std::string(kJournalMagic) + "\n";
    s += "collection\t" + stored_escape(j.collection) + "\n";
    s += "token\t" + stored_escape(j.token) + "\n";
    for (const SyncJournalItem& it : j.items) {
        s += "item\t" + stored_escape(it.href) + "\t" + stored_escape(it.uid) + "\t" +
             stored_escape(it.etag) + "\t" + stored_hex(it.server_hash) + "\t" +
             stored_hex(it.base_hash) + "\t" + (it.held ? "1" : it.unreadable ? "2" : "0") + "\n";
    }
    s += "end\t" + std::to_string(j.items.size()) + "\n";
    return s;
}

bool sync_journal_parse(const char* data, size_t n, SyncJournal* out) {
    *out = SyncJournal();
    StoredReader r = {data, data + n};
    if (n > kSyncJournalMaxBytes || !read_journal(&r, out)) {
        *out = SyncJournal();
        return false;
    }
    return true;
}

bool sync_journal_load(FileIO* io, const char* path, SyncJournal* out) {
    *out = SyncJournal();
    std::string data;
    return stored_file_read(io, path, kSyncJournalMaxBytes, &data) &&
           sync_journal_parse(data.data(), data.size(), out);
}

bool sync_journal_save(FileIO* io, const char* path, const SyncJournal& journal) {
    const std::string text = sync_journal_text(journal);
    return io->write_atomic(path, text.data(), text.size());
}
