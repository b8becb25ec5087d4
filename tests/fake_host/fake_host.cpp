#include "tests/fake_host/fake_host.h"

#include <string>
#include <vector>

namespace {

struct call {
    int kind;
    std::string bytes;
    int first;
    int second;
};

struct optional_text {
    bool present = false;
    std::string text;

    void set(const char* value) {
        present = value != nullptr;
        text = value != nullptr ? value : "";
    }
    [[nodiscard]] const char* get() const { return present ? text.c_str() : nullptr; }
};

struct host {
    std::vector<call> calls;
    optional_text docroot;
    optional_text name;
    optional_text description;
    void (*hook)(void*) = nullptr;
    void* hook_context = nullptr;
    // The filler shows a module that reads bytes of the record it should not.
    unsigned char filler = 0xA5;
};

host& the_host() {
    static host instance;
    return instance;
}

void record(int kind, std::string bytes, int first = 0, int second = 0) {
    the_host().calls.push_back(call{kind, std::move(bytes), first, second});
}

const call* at(int index) {
    const auto& calls = the_host().calls;
    if (index < 0 || static_cast<std::size_t>(index) >= calls.size()) {
        return nullptr;
    }
    return &calls[static_cast<std::size_t>(index)];
}

} // namespace

extern "C" {

void fh_reset(void) {
    the_host() = host{};
}

void fh_clear_calls(void) {
    the_host().calls.clear();
}

void fh_set_docroot(const char* root) {
    the_host().docroot.set(root);
}

void fh_set_player(const char* name, const char* description) {
    the_host().name.set(name);
    the_host().description.set(description);
}

void fh_set_modenable_hook(void (*hook)(void*), void* context) {
    the_host().hook = hook;
    the_host().hook_context = context;
}

int fh_call_count(void) {
    return static_cast<int>(the_host().calls.size());
}

int fh_call_kind(int index) {
    const call* c = at(index);
    return c != nullptr ? c->kind : 0;
}

const char* fh_call_bytes(int index) {
    const call* c = at(index);
    return c != nullptr ? c->bytes.data() : "";
}

unsigned fh_call_length(int index) {
    const call* c = at(index);
    return c != nullptr ? static_cast<unsigned>(c->bytes.size()) : 0;
}

int fh_call_int(int index, int which) {
    const call* c = at(index);
    if (c == nullptr) {
        return 0;
    }
    return which == 0 ? c->first : c->second;
}

const char* FURN2_CDECL f2_moddocroot(std::int32_t module_id) {
    record(fh_moddocroot, {}, module_id);
    return the_host().docroot.get();
}

std::int32_t FURN2_CDECL f2_myplayerinfo(player_info* info) {
    record(fh_myplayerinfo, {});
    if (info != nullptr) {
        host& h = the_host();
        for (unsigned char& byte : info->bytes) {
            byte = h.filler;
        }
        set_player_info_pointer(*info, player_info_name_offset, h.name.get());
        set_player_info_pointer(*info, player_info_desc_offset, h.description.get());
    }
    return 1;
}

std::int32_t FURN2_CDECL f2_modenable(std::int32_t module_id, std::int32_t flag) {
    record(fh_modenable, {}, module_id, flag);
    host& h = the_host();
    if (h.hook != nullptr) {
        h.hook(h.hook_context);
    }
    return 1;
}

std::int32_t FURN2_CDECL f2_speak(const char* text) {
    record(fh_speak, text != nullptr ? text : "");
    return 1;
}

std::int32_t FURN2_CDECL f2_errlog(const char* text) {
    record(fh_errlog, text != nullptr ? text : "");
    return 1;
}

std::int32_t FURN2_CDECL f2_netout(const char* bytes, std::uint32_t count) {
    const bool nul_follows = bytes != nullptr && bytes[count] == '\0';
    record(fh_netout, bytes != nullptr ? std::string(bytes, count) : std::string(),
           static_cast<int>(count), nul_follows ? 1 : 0);
    return 1;
}
}
