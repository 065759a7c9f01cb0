#include "schedule/sync_engine.h"

#include <algorithm>
#include <map>
#include <set>

#include "schedule/dav_requests.h"
#include "schedule/dav_session.h"
#include "schedule/sync_plan.h"

namespace {

constexpr size_t kListingMaxBody = 32u << 20;
constexpr size_t kFetchMaxBody = 32u << 20;
constexpr size_t kFetchBatch = 50;
constexpr size_t kWriteMaxBody = 1u << 20;
constexpr int kMaxSyncRounds = 50;  // sync-collection answers taken in parts

// The server's item as the listing and the fetch found it.
struct ServerItem {
    std::string href;  // path
    std::string etag;
    bool present = true;
    bool fetched = false;
    bool readable = false;  // the list can hold it
    std::string uid;
    std::string ical;
    uint64_t hash = 0;  // canonical version (raw text when unreadable)
};

struct Listing {
    bool delta = false;     // changes since the token, else everything
    bool complete = true;   // every item of the calendar listed (or every change)
    std::map<std::string, ServerItem> items;  // by path key
    std::string token;
};

class Exchange {
public:
    Exchange(const SyncJob& job, SyncOutcome* out)
        : job_(job), out_(out), session_{job.http, job.xml, job.limits, job.cancel,
                                         job.account.plain_confirmed} {}

    void run() {
        out_->journal = job_.journal;
        if (!dav_url_parse(job_.account.url.c_str(), &collection_)) return fail(NetError::kAddress);
        if (collection_.path.back() != '/') collection_.path += '/';
        if (out_->journal.collection != dav_url_text(collection_)) {
            out_->journal = SyncJournal();  // another calendar: start afresh
            out_->journal.collection = dav_url_text(collection_);
        }
        for (const SyncJournalItem& it : out_->journal.items) journal_[dav_path_key(it.href)] = it;
        Listing listing;
        if (!list(&listing) || !fetch(&listing)) return;
        plan(listing);
        if (out_->error != NetError::kNone) return;
        // A listing cut short leaves no token: the next sync lists everything again.
        out_->token = listing.complete ? listing.token : std::string();
    }

private:
    void fail(NetError e, int status = 0) {
        if (out_->error == NetError::kNone) {
            out_->error = e;
            out_->status = status;
        }
        out_->changes.clear();
        save_journal();
    }

    void save_journal() {
        out_->journal.items.clear();
        for (auto& kv : journal_) out_->journal.items.push_back(kv.second);
        out_->requests = session_.requests;
    }

    // --- listing ---

    bool in_collection(const std::string& key) const {
        const std::string base = dav_path_key(collection_.path);
        return key.size() > base.size() && key.compare(0, base.size(), base) == 0 &&
               key.find('/', base.size()) == std::string::npos;
    }

    void take_responses(const DavMultistatus& ms, const DavUrl& from, Listing* l) {
        for (const DavResponse& r : ms.responses) {
            DavUrl u;
            if (!dav_url_resolve(from, r.href.c_str(), &u) || !dav_url_same_origin(u, collection_))
                continue;
            const std::string key = dav_path_key(u.path);
            if (!in_collection(key) || r.is_collection) continue;
            ServerItem& it = l->items[key];
            it.href = u.path;
            it.present = r.status != 404 && r.status != 410;
            it.etag = r.has_etag ? r.etag : std::string();
        }
    }

    // sync-collection from token ("" for everything), its parts followed up to the end.
    NetError sync_report(const std::string& token, Listing* l, int* status) {
        l->items.clear();
        l->delta = !token.empty();
        l->complete = false;
        std::string t = token;
        for (int round = 0; round < kMaxSyncRounds; ++round) {
            DavCall call{"REPORT", "1", dav_body_sync_collection(t), kListingMaxBody, {}};
            DavUrl url = collection_;
            DavMultistatus ms;
            const NetError e = dav_multistatus(&session_, call, &url, &ms, status);
            if (e != NetError::kNone) return e;
            take_responses(ms, url, l);
            l->token = ms.sync_token;
            // A part: the rest comes as the changes since the token it ends with.
            if (!ms.truncated) {
                l->complete = true;
                return NetError::kNone;
            }
            if (ms.sync_token.empty() || ms.sync_token == t) return NetError::kNone;
            t = ms.sync_token;
        }
        return NetError::kNone;
    }

    bool etag_listing(Listing* l) {
        l->items.clear();
        l->delta = false;
        l->token.clear();
        DavUrl url = collection_;
        DavMultistatus ms;
        if (!report(dav_body_event_etags(), kListingMaxBody, &url, &ms)) return false;
        take_responses(ms, url, l);
        l->complete = !ms.truncated;
        return true;
    }

    // An answer that may only mean the server does not take this way of listing (an
    // unknown token, no sync-collection): the next way is tried, and its failure told.
    static bool try_next(NetError e, int status) {
        return e != NetError::kCancelled && status != 0 && status != 401;
    }

    bool list(Listing* l) {
        int status = 0;
        NetError e;
        if (!out_->journal.token.empty()) {
            e = sync_report(out_->journal.token, l, &status);
            if (e == NetError::kNone) return true;
            if (!try_next(e, status)) return fail(e, status), false;
        }
        e = sync_report(std::string(), l, &status);
        if (e == NetError::kNone) return true;
        if (!try_next(e, status)) return fail(e, status), false;
        return etag_listing(l);
    }

    // --- the server's items ---

    void read_text(ServerItem* it) {
        it->fetched = true;
        it->uid = ical_event_uid(it->ical.data(), it->ical.size());
        const std::string c = job_.canon.canon(job_.canon.context, it->ical);
        it->readable = !c.empty() && !it->uid.empty();
        it->hash = sync_hash(c.empty() ? it->ical : c);
    }

    // The full set of the server's items: the listing, and for a list of changes the
    // journal's items it does not name.
    bool fetch(Listing* l) {
        if (l->delta) {
            for (auto& kv : journal_) {
                if (l->items.count(kv.first)) continue;
                ServerItem it;
                it.href = kv.second.href;
                it.etag = kv.second.etag;
                l->items[kv.first] = it;
            }
        }
        std::vector<std::string> want;
        for (auto& kv : l->items) {
            ServerItem& it = kv.second;
            if (!it.present) continue;
            auto j = journal_.find(kv.first);
            if (j != journal_.end() && !it.etag.empty() && it.etag == j->second.etag &&
                j->second.server_hash != 0) {
                it.uid = j->second.uid;
                it.hash = j->second.server_hash;
                it.readable = !it.uid.empty() && !j->second.unreadable;
                continue;
            }
            want.push_back(kv.first);
        }
        out_->counts.server_items = 0;
        for (auto& kv : l->items) out_->counts.server_items += kv.second.present ? 1 : 0;
        for (size_t i = 0; i < want.size(); i += kFetchBatch) {
            std::vector<std::string> hrefs;
            for (size_t k = i; k < want.size() && k < i + kFetchBatch; ++k)
                hrefs.push_back(l->items[want[k]].href);
            if (!multiget(hrefs, l)) return false;
        }
        // Named in the listing but not given by the fetch: gone meanwhile.
        for (const std::string& key : want) {
            ServerItem& it = l->items[key];
            if (!it.fetched) it.present = false;
        }
        return true;
    }

    // A REPORT on the collection whose failure ends the sync.
    bool report(const std::string& body, size_t max_body, DavUrl* url, DavMultistatus* ms) {
        DavCall call{"REPORT", "1", body, max_body, {}};
        int status;
        const NetError e = dav_multistatus(&session_, call, url, ms, &status);
        if (e != NetError::kNone) fail(e, status);
        return e == NetError::kNone;
    }

    bool multiget(const std::vector<std::string>& hrefs, Listing* l) {
        DavUrl url = collection_;
        DavMultistatus ms;
        if (!report(dav_body_multiget(hrefs), kFetchMaxBody, &url, &ms)) return false;
        for (DavResponse& r : ms.responses) {
            DavUrl u;
            if (!dav_url_resolve(url, r.href.c_str(), &u)) continue;
            auto it = l->items.find(dav_path_key(u.path));
            if (it == l->items.end() || r.status == 404) continue;
            ServerItem& s = it->second;
            if (r.data_too_large) {
                s.fetched = true;
                s.readable = false;
                s.hash = sync_hash(r.etag);
                continue;
            }
            if (!r.has_data) continue;
            if (r.has_etag) s.etag = r.etag;
            s.ical = std::move(r.calendar_data);
            read_text(&s);
        }
        return true;
    }

    // --- planning and the server's half ---

    struct Row {
        const SyncItem* local = nullptr;
        uint64_t local_hash = 0;
        ServerItem* server = nullptr;
        SyncJournalItem* journal = nullptr;
    };

    void plan(Listing& l) {
        // Journal items without a UID go with their resource.
        for (auto it = journal_.begin(); it != journal_.end();) {
            auto s = l.items.find(it->first);
            const bool gone = s == l.items.end() ? l.complete : !s->second.present;
            if (it->second.uid.empty() && gone) it = journal_.erase(it);
            else ++it;
        }
        std::map<std::string, Row> rows;  // by UID
        std::set<std::string> blocked;    // UIDs of server versions the list cannot hold
        for (auto& kv : l.items) {
            ServerItem& s = kv.second;
            if (!s.present) continue;
            if (!s.readable) {
                keep_unreadable(kv.first, s);
                if (!s.uid.empty()) blocked.insert(s.uid);
                continue;
            }
            Row& r = rows[s.uid];
            if (!r.server) r.server = &s;
            else keep_unreadable(kv.first, s);  // a second resource with the same UID
        }
        for (const SyncItem& it : job_.snapshot.items) {
            if (it.uid.empty()) continue;
            Row& r = rows[it.uid];
            if (r.local) continue;
            r.local = &it;
            r.local_hash = sync_version(job_.canon, it.ical);
        }
        for (auto& kv : journal_) {
            SyncJournalItem& j = kv.second;
            auto s = l.items.find(kv.first);
            if (j.uid.empty() || (s != l.items.end() && s->second.present && !s->second.readable))
                continue;
            Row& r = rows[j.uid];
            if (!r.journal || (j.held && !r.journal->held)) r.journal = &j;
        }

        room_ = job_.snapshot.room;
        std::vector<std::pair<std::map<std::string, Row>::iterator, SyncAction>> todo;
        for (auto it = rows.begin(); it != rows.end(); ++it) {
            if (blocked.count(it->first)) continue;  // left as both sides have it
            const Row& r = it->second;
            // A journal item whose resource a partial listing did not name: nothing known.
            if (r.journal && !r.server && !l.complete) continue;
            todo.push_back({it, sync_plan(row_of(r))});
        }
        if (!fetch_to_take(todo, &l)) return;
        for (auto& t : todo) {
            if (out_->error != NetError::kNone) return;
            execute(t.first->first, t.first->second, t.second);
        }
        save_journal();
    }

    // Server versions the list is to take whose text the listing did not bring (unchanged
    // since they were left on the server): fetched now, additions only as far as the room goes.
    template <class Todo>
    bool fetch_to_take(const Todo& todo, Listing* l) {
        std::vector<std::string> hrefs;
        int additions = room_;
        for (const auto& t : todo) {
            const Row& r = t.first->second;
            if ((t.second != SyncAction::kDownload && t.second != SyncAction::kKeepBoth) ||
                r.server->fetched)
                continue;
            if (t.second == SyncAction::kDownload && !r.local && additions-- <= 0) continue;
            hrefs.push_back(r.server->href);
        }
        for (size_t i = 0; i < hrefs.size(); i += kFetchBatch) {
            const std::vector<std::string> batch(hrefs.begin() + (long)i,
                                                 hrefs.begin() + (long)std::min(hrefs.size(), i + kFetchBatch));
            if (!multiget(batch, l)) return false;
        }
        return true;
    }

    void keep_unreadable(const std::string& key, const ServerItem& s) {
        SyncJournalItem& j = journal_[key];
        const bool changed = j.href.empty() || j.etag != s.etag || j.server_hash != s.hash;
        if (changed) ++out_->counts.unreadable;
        j.href = s.href;
        j.uid = s.uid;
        j.etag = s.etag;
        j.server_hash = s.hash;
        if (!j.held) {
            j.base_hash = 0;
            j.unreadable = true;
        }
    }

    SyncSide server_side(const Row& r) const {
        if (!r.server) return SyncSide::kAbsent;
        return r.journal && r.server->hash == r.journal->base_hash ? SyncSide::kSame
                                                                   : SyncSide::kChanged;
    }

    SyncRow row_of(const Row& r) const {
        SyncRow row;
        row.known = r.journal != nullptr;
        row.held = r.journal && r.journal->held;
        row.local = !r.local ? SyncSide::kAbsent
                    : row.held && r.local_hash == r.journal->base_hash ? SyncSide::kSame
                                                                       : SyncSide::kChanged;
        row.server = server_side(r);
        row.same_content = r.local && r.server && r.local_hash == r.server->hash;
        return row;
    }

    void execute(const std::string& uid, Row& r, SyncAction action) {
        // A version to take whose text could not be had (gone meanwhile, or no room to fetch it).
        if ((action == SyncAction::kDownload || action == SyncAction::kKeepBoth) && !r.server->fetched) {
            if (action == SyncAction::kDownload && !r.local && room_ <= 0) {
                download(uid, r);  // counted as not taken
            } else {
                note_server(r);
                ++out_->counts.retry_later;
            }
            return;
        }
        switch (action) {
        case SyncAction::kNone: note_server(r); break;
        case SyncAction::kUpload: upload(uid, r, false); break;
        case SyncAction::kUploadNew: upload(uid, r, true); break;
        case SyncAction::kDownload: download(uid, r); break;
        case SyncAction::kDeleteLocal: delete_local(uid, r); break;
        case SyncAction::kDeleteServer: delete_server(r); break;
        case SyncAction::kKeepBoth: keep_both(uid, r); break;
        case SyncAction::kAdopt: adopt(uid, r); break;
        case SyncAction::kForget: journal_.erase(dav_path_key(r.journal->href)); break;
        }
    }

    SyncJournalItem& journal_of(const std::string& href) {
        SyncJournalItem& j = journal_[dav_path_key(href)];
        j.href = href;
        return j;
    }

    // The server's current version, as the journal keeps it.
    void note_server(Row& r) {
        if (!r.server || !r.journal) return;
        move_journal(r, r.server->href);
        r.journal->etag = r.server->etag;
        r.journal->server_hash = r.server->hash;
    }

    SyncJournalItem synced(const std::string& href, const std::string& uid, const std::string& etag,
                           uint64_t hash, bool held) {
        SyncJournalItem j;
        j.href = href;
        j.uid = uid;
        j.etag = etag;
        j.server_hash = hash;
        j.base_hash = held ? hash : 0;
        j.held = held;
        return j;
    }

    // PUT of text to href; etag of the new version into *etag. False when refused by a
    // precondition (counted) or failed (the sync stops).
    bool put(const std::string& href, const std::string& text, const std::string& if_match,
             std::string* etag, bool* exists = nullptr) {
        DavUrl url = collection_;
        url.path = href;
        url.query.clear();
        DavCall call{"PUT", nullptr, text, kWriteMaxBody, {}, "text/calendar; charset=utf-8"};
        if (if_match.empty()) call.headers.push_back({"If-None-Match", "*"});
        else call.headers.push_back({"If-Match", if_match});
        HttpResponse res;
        const NetError e = dav_send(&session_, call, &url, &res);
        if (e != NetError::kNone) return fail(e), false;
        if (res.status == 412) {
            if (exists) *exists = true;
            else ++out_->counts.retry_later;
            return false;
        }
        if (res.status < 200 || res.status > 299) return fail(net_error_of_status(res.status), res.status), false;
        *etag = res.etag;
        return true;
    }

    void upload(const std::string& uid, Row& r, bool as_new) {
        std::string href;
        if (as_new) href = r.journal && !r.journal->href.empty() && !r.server ? r.journal->href
                                                                               : sync_new_href(collection_, uid);
        else {
            if (r.server) move_journal(r, r.server->href);
            href = r.journal->href;
        }
        // If-Match needs the server's ETag; without one the upload waits for the next listing.
        const std::string match = as_new ? std::string() : r.server ? r.server->etag : r.journal->etag;
        if (!as_new && match.empty()) {
            ++out_->counts.retry_later;
            return;
        }
        std::string etag;
        if (!put(href, r.local->ical, match, &etag)) return;
        if (r.journal && dav_path_key(r.journal->href) != dav_path_key(href))
            journal_.erase(dav_path_key(r.journal->href));
        journal_of(href) = synced(href, uid, etag, r.local_hash, true);
        ++out_->counts.uploaded;
    }

    // The row's journal item moves to the server's resource when the UID moved there.
    void move_journal(Row& r, const std::string& href) {
        if (!r.journal || dav_path_key(r.journal->href) == dav_path_key(href)) return;
        SyncJournalItem moved = *r.journal;
        journal_.erase(dav_path_key(r.journal->href));
        moved.href = href;
        r.journal = &journal_of(href);
        *r.journal = moved;
    }

    void download(const std::string& uid, Row& r) {
        ServerItem& s = *r.server;
        move_journal(r, s.href);
        SyncJournalItem before = r.journal ? *r.journal : synced(s.href, uid, s.etag, s.hash, false);
        before.etag = s.etag;
        before.server_hash = s.hash;
        before.unreadable = false;
        SyncChange c;
        c.kind = SyncChangeKind::kPut;
        c.uid = uid;
        c.ical = s.ical;
        c.applied = synced(s.href, uid, s.etag, s.hash, true);
        c.refused = before;
        if (r.local) {
            c.expect_hash = r.local_hash;
        } else {
            c.expect_absent = true;
            c.refused.held = false;
            c.refused.base_hash = 0;
            if (room_ <= 0) {
                journal_of(s.href) = c.refused;
                ++out_->counts.not_taken;
                return;
            }
            --room_;
        }
        journal_of(s.href) = c.refused;
        out_->changes.push_back(std::move(c));
    }

    void delete_local(const std::string& uid, Row& r) {
        SyncChange c;
        c.kind = SyncChangeKind::kRemove;
        c.uid = uid;
        c.expect_hash = r.local_hash;
        c.refused = *r.journal;
        c.applied = *r.journal;
        c.drop_applied = true;
        out_->changes.push_back(std::move(c));
    }

    void delete_server(Row& r) {
        DavUrl url = collection_;
        url.path = r.journal->href;
        url.query.clear();
        const std::string match = r.server ? r.server->etag : r.journal->etag;
        DavCall call{"DELETE", nullptr, std::string(), kWriteMaxBody, {}};
        if (!match.empty()) call.headers.push_back({"If-Match", match});
        HttpResponse res;
        const NetError e = dav_send(&session_, call, &url, &res);
        if (e != NetError::kNone) return fail(e);
        if (res.status == 412) {
            ++out_->counts.retry_later;
            return;
        }
        if ((res.status < 200 || res.status > 299) && res.status != 404 && res.status != 410)
            return fail(net_error_of_status(res.status), res.status);
        journal_.erase(dav_path_key(r.journal->href));
        ++out_->counts.deleted_there;
    }

    void keep_both(const std::string& uid, Row& r) {
        ServerItem& s = *r.server;
        move_journal(r, s.href);
        const std::string copy_uid = sync_copy_uid(uid, r.local_hash, s.etag);
        const std::string copy = ical_with_uid(r.local->ical, copy_uid);
        const std::string copy_href = sync_new_href(collection_, copy_uid);
        const uint64_t copy_hash = sync_version(job_.canon, copy);
        std::string etag;
        bool exists = false;  // sent before by a sync that was stopped
        if (!put(copy_href, copy, std::string(), &etag, &exists) && !exists) return;
        journal_of(copy_href) = synced(copy_href, copy_uid, etag, copy_hash, false);
        if (r.journal) note_server(r);
        // The server's version takes the item's place in the list, the local one its copy's.
        SyncChange take;
        take.kind = SyncChangeKind::kPut;
        take.uid = uid;
        take.ical = s.ical;
        take.expect_hash = r.local_hash;
        take.applied = synced(s.href, uid, s.etag, s.hash, true);
        take.refused = r.journal ? *r.journal : synced(s.href, uid, s.etag, s.hash, false);
        journal_of(s.href) = take.refused;
        SyncChange keep;
        keep.kind = SyncChangeKind::kPut;
        keep.uid = copy_uid;
        keep.ical = copy;
        keep.expect_absent = true;
        keep.after_previous = true;
        keep.applied = synced(copy_href, copy_uid, etag, copy_hash, true);
        keep.refused = synced(copy_href, copy_uid, etag, copy_hash, false);
        out_->changes.push_back(std::move(take));
        out_->changes.push_back(std::move(keep));
        ++out_->counts.kept_both;
    }

    void adopt(const std::string& uid, Row& r) {
        const bool held = r.local != nullptr;
        if (r.journal && dav_path_key(r.journal->href) != dav_path_key(r.server->href))
            journal_.erase(dav_path_key(r.journal->href));
        journal_of(r.server->href) = synced(r.server->href, uid, r.server->etag, r.server->hash, held);
    }

    const SyncJob& job_;
    SyncOutcome* out_;
    DavSession session_;
    DavUrl collection_;
    std::map<std::string, SyncJournalItem> journal_;  // by path key
    int room_ = 0;
};

}  // namespace

uint64_t sync_version(const SyncCanon& canon, const std::string& ical) {
    const std::string c = canon.canon(canon.context, ical);
    return sync_hash(c.empty() ? ical : c);
}

std::string sync_new_href(const DavUrl& collection, const std::string& uid) {
    std::string path = collection.path;
    if (path.empty() || path.back() != '/') path += '/';
    return path + dav_path_segment(uid) + ".ics";
}

std::string sync_copy_uid(const std::string& uid, uint64_t local_hash, const std::string& etag) {
    const std::string seed = uid + "\n" + std::to_string(local_hash) + "\n" + etag;
    const uint64_t h = sync_hash(seed);
    static const char kHex[] = "0123456789abcdef";
    std::string tag;
    for (int i = 0; i < 8; ++i) tag += kHex[(h >> (60 - 4 * i)) & 15];
    return uid + "-" + tag;
}

void sync_exchange(const SyncJob& job, SyncOutcome* out) {
    *out = SyncOutcome();
    Exchange(job, out).run();
}

bool sync_finish(SyncStore* store, SyncOutcome* out, FileIO* io, const char* journal_path) {
    std::map<std::string, size_t> index;  // path key -> item of the journal
    for (size_t i = 0; i < out->journal.items.size(); ++i)
        index[dav_path_key(out->journal.items[i].href)] = i;
    std::vector<bool> drop(out->journal.items.size(), false);
    bool previous = true;
    for (const SyncChange& c : out->changes) {
        SyncApply a = SyncApply::kChanged;
        if (!c.after_previous || previous) a = store->apply(c);
        previous = a == SyncApply::kApplied;
        const SyncJournalItem& now = previous ? c.applied : c.refused;
        const std::string key = dav_path_key(now.href);
        auto it = index.find(key);
        if (it == index.end()) {
            index[key] = out->journal.items.size();
            out->journal.items.push_back(now);
            drop.push_back(false);
            it = index.find(key);
        } else {
            out->journal.items[it->second] = now;
        }
        drop[it->second] = previous && c.drop_applied;
        switch (a) {
        case SyncApply::kApplied:
            if (c.kind == SyncChangeKind::kRemove) ++out->counts.deleted_here;
            else if (!c.after_previous) ++out->counts.downloaded;
            break;
        case SyncApply::kChanged: ++out->counts.retry_later; break;
        case SyncApply::kFull: ++out->counts.not_taken; break;
        case SyncApply::kUnreadable: ++out->counts.unreadable; break;
        }
    }
    std::vector<SyncJournalItem> kept;
    for (size_t i = 0; i < out->journal.items.size(); ++i)
        if (!drop[i]) kept.push_back(std::move(out->journal.items[i]));
    out->journal.items = std::move(kept);
    if (!out->changes.empty() && !store->commit()) return false;
    if (out->error == NetError::kNone) out->journal.token = out->token;
    return sync_journal_save(io, journal_path, out->journal);
}
