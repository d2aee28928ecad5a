// A sound card that exists only in memory: an alsa-lib external control plugin that offers the
// elements its configuration lists, keeps their values per control name (so every handle of
// the same card sees the same values), and tells every other subscribed handle of a card about
// a write, as a card's driver does. Configuration of a card:
//   ctl.<name> { type kfgfake name "<card name>" open_error <negative errno>
//                elements [ "<element name>:<b|i|e>:<count>[:<v0>,<v1>...[:<item0>|<item1>...]]"
//                           ... ] }
// b is a boolean switch, i an integer volume (0..31), e an enumeration of the named items.
#include <algorithm>
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <list>
#include <map>
#include <sstream>
#include <string>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace {

struct Element {
    std::string name;
    char type = 'b';
    std::vector<long> values;
    std::vector<std::string> items; // enumerations only
};

struct Card;

// One open handle of a card.
struct Instance {
    snd_ctl_ext_t ext{};
    Card* card = nullptr;
    std::deque<unsigned> events; // element offsets
};

struct Card {
    std::vector<Element> elements;
    std::list<Instance> instances;
};

std::map<std::string, Card> gCards; // by configuration name

Instance& Of(snd_ctl_ext_t* ext) {
    return *static_cast<Instance*>(ext->private_data);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

Element ParseElement(const std::string& text) {
    const std::vector<std::string> parts = Split(text, ':');
    Element element{parts.at(0), parts.at(1).at(0), {}, {}};
    element.values.assign(std::stoul(parts.at(2)), element.type == 'b' ? 1 : 0);
    if (parts.size() > 3) {
        const std::vector<std::string> given = Split(parts[3], ',');
        for (std::size_t i = 0; i < given.size() && i < element.values.size(); ++i) {
            element.values[i] = std::stol(given[i]);
        }
    }
    if (parts.size() > 4) {
        element.items = Split(parts[4], '|');
    }
    return element;
}

void Close(snd_ctl_ext_t* ext) {
    Instance* self = &Of(ext);
    ::close(self->ext.poll_fd);
    self->card->instances.remove_if([self](const Instance& entry) { return &entry == self; });
}

int Count(snd_ctl_ext_t* ext) {
    return static_cast<int>(Of(ext).card->elements.size());
}

int List(snd_ctl_ext_t* ext, unsigned int offset, snd_ctl_elem_id_t* id) {
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, Of(ext).card->elements.at(offset).name.c_str());
    return 0;
}

snd_ctl_ext_key_t Find(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
    const std::vector<Element>& elements = Of(ext).card->elements;
    const auto found = std::find_if(elements.begin(), elements.end(), [id](const Element& element) {
        return element.name == snd_ctl_elem_id_get_name(id);
    });
    return found == elements.end() ? static_cast<snd_ctl_ext_key_t>(-1)
                                   : static_cast<snd_ctl_ext_key_t>(found - elements.begin());
}

int Attribute(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, int* type, unsigned int* access,
              unsigned int* count) {
    const Element& element = Of(ext).card->elements.at(key);
    *type = element.type == 'b'   ? SND_CTL_ELEM_TYPE_BOOLEAN
            : element.type == 'e' ? SND_CTL_ELEM_TYPE_ENUMERATED
                                  : SND_CTL_ELEM_TYPE_INTEGER;
    *access = SND_CTL_EXT_ACCESS_READWRITE;
    *count = static_cast<unsigned>(element.values.size());
    return 0;
}

int IntegerInfo(snd_ctl_ext_t*, snd_ctl_ext_key_t, long* low, long* high, long* step) {
    *low = 0;
    *high = 31;
    *step = 1;
    return 0;
}

int EnumeratedInfo(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, unsigned int* items) {
    *items = static_cast<unsigned>(Of(ext).card->elements.at(key).items.size());
    return 0;
}

int EnumeratedName(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, unsigned int item, char* name,
                   size_t size) {
    const std::vector<std::string>& items = Of(ext).card->elements.at(key).items;
    if (item >= items.size() || size == 0) {
        return -EINVAL;
    }
    std::snprintf(name, size, "%s", items[item].c_str());
    return 0;
}

template <class Value>
int Read(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, Value* values) {
    const Element& element = Of(ext).card->elements.at(key);
    std::copy(element.values.begin(), element.values.end(), values);
    return 0;
}

template <class Value>
int Write(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, Value* values) {
    Instance& self = Of(ext);
    Element& element = self.card->elements.at(key);
    const std::vector<long> given(values, values + element.values.size());
    if (given == element.values) {
        return 0; // a driver announces changes only
    }
    element.values = given;
    for (Instance& other : self.card->instances) {
        if (&other != &self && other.ext.subscribed) {
            other.events.push_back(static_cast<unsigned>(key));
            ::eventfd_write(other.ext.poll_fd, 1);
        }
    }
    return 1;
}

int ReadEvent(snd_ctl_ext_t* ext, snd_ctl_elem_id_t* id, unsigned int* mask) {
    Instance& self = Of(ext);
    if (self.events.empty()) {
        eventfd_t drained = 0;
        ::eventfd_read(self.ext.poll_fd, &drained);
        return -EAGAIN;
    }
    snd_ctl_elem_id_clear(id);
    List(ext, self.events.front(), id);
    self.events.pop_front();
    *mask = SND_CTL_EVENT_MASK_VALUE;
    return 1;
}

const snd_ctl_ext_callback_t kCallbacks = [] {
    snd_ctl_ext_callback_t callbacks{};
    callbacks.close = Close;
    callbacks.elem_count = Count;
    callbacks.elem_list = List;
    callbacks.find_elem = Find;
    callbacks.get_attribute = Attribute;
    callbacks.get_integer_info = IntegerInfo;
    callbacks.get_enumerated_info = EnumeratedInfo;
    callbacks.get_enumerated_name = EnumeratedName;
    callbacks.read_integer = Read<long>;
    callbacks.write_integer = Write<long>;
    callbacks.read_enumerated = Read<unsigned int>;
    callbacks.write_enumerated = Write<unsigned int>;
    callbacks.read_event = ReadEvent;
    return callbacks;
}();

} // namespace

extern "C" {

SND_CTL_PLUGIN_DEFINE_FUNC(kfgfake) {
    (void)root;
    snd_config_t* node = nullptr;
    long openError = 0;
    if (snd_config_search(conf, "open_error", &node) == 0 &&
        snd_config_get_integer(node, &openError) == 0 && openError < 0) {
        return static_cast<int>(openError);
    }
    const char* cardName = "KFG Testkarte";
    if (snd_config_search(conf, "name", &node) == 0) {
        snd_config_get_string(node, &cardName);
    }
    Card& card = gCards[name];
    if (card.elements.empty() && snd_config_search(conf, "elements", &node) == 0) {
        snd_config_iterator_t it;
        snd_config_iterator_t next;
        snd_config_for_each(it, next, node) {
            const char* text = nullptr;
            if (snd_config_get_string(snd_config_iterator_entry(it), &text) == 0) {
                card.elements.push_back(ParseElement(text));
            }
        }
    }

    Instance& instance = card.instances.emplace_back();
    instance.card = &card;
    snd_ctl_ext_t& ext = instance.ext;
    ext.version = SND_CTL_EXT_VERSION;
    std::snprintf(ext.name, sizeof ext.name, "%s", cardName);
    ext.poll_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    ext.callback = &kCallbacks;
    ext.private_data = &instance;
    const int error = snd_ctl_ext_create(&ext, name, mode);
    if (error < 0) {
        ::close(ext.poll_fd);
        card.instances.pop_back();
        return error;
    }
    *handlep = ext.handle;
    return 0;
}

SND_CTL_PLUGIN_SYMBOL(kfgfake)

} // extern "C"
