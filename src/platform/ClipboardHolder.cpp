#include "ClipboardHolder.h"

#include "X11Connection.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = X11Connection::Clock;

constexpr char HolderOption[] = "--clipboard-holder";

// One form of the clipboard's content: asked for as `target`, given as data of the X type `type`.
struct Offer
{
    QByteArray target;
    QByteArray type;
    QByteArray data;
};

// What the program hands to the holder on its standard input. `time` is when the program last owned the
// clipboard: the X server refuses the holder the clipboard if another program has taken it since.
struct Handover
{
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    std::vector<Offer> offers;
};

QByteArray Serialise(const Handover &handover)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint32(handover.time) << quint32(handover.offers.size());
    for (const Offer &offer : handover.offers)
        out << offer.target << offer.type << offer.data;
    return bytes;
}

bool Parse(const QByteArray &bytes, Handover &handover)
{
    QDataStream in(bytes);
    quint32 time = 0, count = 0;
    in >> time >> count;
    handover.time = time;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Offer offer;
        in >> offer.target >> offer.type >> offer.data;
        handover.offers.push_back(offer);
    }
    return in.status() == QDataStream::Ok && !handover.offers.empty();
}

// The thumbnail as PNG; text in the forms Qt's own clipboard offers.
std::vector<Offer> OffersOf(const QMimeData *data)
{
    if (!data) return {};
    if (data->hasImage()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!qvariant_cast<QImage>(data->imageData()).save(&buffer, "PNG")) return {};
        return {{"image/png", "image/png", png}};
    }
    if (!data->hasText()) return {};
    const QByteArray utf8 = data->text().toUtf8();
    const QByteArray latin1 = data->text().toLatin1();
    return {{"UTF8_STRING", "UTF8_STRING", utf8},
            {"text/plain;charset=utf-8", "text/plain;charset=utf-8", utf8},
            {"STRING", "STRING", latin1},
            {"TEXT", "STRING", latin1},
            {"text/plain", "text/plain", latin1}};
}

// Every window of one X client carries the client's resource base in its id.
bool OwnedByThisProgram(xcb_window_t owner)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || owner == XCB_WINDOW_NONE) return false;
    const xcb_setup_t *setup = xcb_get_setup(x11->connection());
    return (owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0) close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno != EINTR) return false;
        if (written > 0) done += written;
    }
    return true;
}

// Starts the holder detached from this program: in a session of its own, with the handover as standard input,
// a pipe as standard output that only says "owned", and nothing else of ours open, so that nobody who reads
// this program's output waits for the holder. Waits for its word until `deadline`.
bool StartHolder(const QByteArray &handover, Clock::time_point deadline)
{
    const FileDescriptor input(memfd_create("tintwell-clipboard", MFD_CLOEXEC));
    if (input.get() < 0 || !WriteAll(input.get(), handover) || lseek(input.get(), 0, SEEK_SET) != 0) return false;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    FileDescriptor answer(ends[0]), holderEnd(ends[1]);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, input.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&files, holderEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t signalSet;
    sigemptyset(&signalSet);
    posix_spawnattr_setsigmask(&attributes, &signalSet);
    for (const int handled : {SIGHUP, SIGINT, SIGTERM, SIGPIPE})
        sigaddset(&signalSet, handled);
    posix_spawnattr_setsigdefault(&attributes, &signalSet);

    QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    QByteArray option(HolderOption);
    char *arguments[] = {program.data(), option.data(), nullptr};
    pid_t holder;
    const bool started = posix_spawn(&holder, program.constData(), &files, &attributes, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    holderEnd.reset();
    if (!started) return false;

    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd word{answer.get(), POLLIN, 0};
        const int ready = left > 0 ? poll(&word, 1, int(left)) : 0;
        if (ready < 0 && errno == EINTR) continue;
        char owned;
        return ready > 0 && read(answer.get(), &owned, 1) == 1;
    }
}

// Says "owned" to the program waiting for it, then lets go of the pipe.
void TellOwned()
{
    const char owned = '1';
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, &owned, 1);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere >= 0) {
        dup2(nowhere, STDOUT_FILENO);
        close(nowhere);
    }
}

void Answer(X11Connection &x, const xcb_selection_request_event_t &request, const Handover &handover,
            const std::vector<std::pair<xcb_atom_t, xcb_atom_t>> &forms)
{
    xcb_connection_t *c = x.get();
    // Requestors from before ICCCM 2 name no property: the target serves as one.
    const xcb_atom_t property = request.property == XCB_ATOM_NONE ? request.target : request.property;
    const uint32_t largest = xcb_get_maximum_request_length(c) * 4 - 24;
    bool given = true;
    if (request.target == x.atom("TARGETS")) {
        std::vector<xcb_atom_t> targets{x.atom("TARGETS"), x.atom("TIMESTAMP")};
        for (const auto &form : forms)
            targets.push_back(form.first);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                            uint32_t(targets.size()), targets.data());
    } else if (request.target == x.atom("TIMESTAMP")) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_INTEGER, 32, 1,
                            &handover.time);
    } else {
        given = false;
        for (std::size_t i = 0; i < forms.size() && !given; ++i) {
            const QByteArray &data = handover.offers[i].data;
            // Our texts and thumbnails fit one request; anything larger is refused, not sent in pieces.
            given = forms[i].first == request.target && uint32_t(data.size()) <= largest;
            if (given)
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, forms[i].second, 8,
                                    uint32_t(data.size()), data.constData());
        }
    }
    // xcb sends events as 32-byte blocks.
    union {
        xcb_selection_notify_event_t event;
        char bytes[32];
    } notify;
    std::memset(&notify, 0, sizeof notify);
    notify.event.response_type = XCB_SELECTION_NOTIFY;
    notify.event.time = request.time;
    notify.event.requestor = request.requestor;
    notify.event.selection = request.selection;
    notify.event.target = request.target;
    notify.event.property = given ? property : xcb_atom_t(XCB_ATOM_NONE);
    xcb_send_event(c, false, request.requestor, XCB_EVENT_MASK_NO_EVENT, notify.bytes);
    xcb_flush(c);
}

} // namespace

bool keepClipboardAfterExit(std::chrono::milliseconds bound)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->ownsClipboard()) return false;
    const auto deadline = Clock::now() + bound;
    X11Connection x;
    if (!x.isOpen() || x.selectionOwner(x.atom("CLIPBOARD_MANAGER")) != XCB_WINDOW_NONE) return false;
    Handover handover;
    const xcb_window_t window = x.createWindow();
    handover.time = x.serverTime(window, deadline);
    xcb_destroy_window(x.get(), window);
    // Asked after the time is taken: if the clipboard is still ours now, nobody took it before that time.
    if (handover.time == XCB_CURRENT_TIME || !OwnedByThisProgram(x.selectionOwner(x.atom("CLIPBOARD")))) return false;
    handover.offers = OffersOf(clipboard->mimeData());
    return !handover.offers.empty() && StartHolder(Serialise(handover), deadline);
}

bool isClipboardHolderCall(int argc, char *argv[])
{
    return argc == 2 && std::strcmp(argv[1], HolderOption) == 0;
}

int runClipboardHolder()
{
    // The program may have stopped waiting for our word; and we keep no folder of its busy.
    signal(SIGPIPE, SIG_IGN);
    [[maybe_unused]] const int root = chdir("/");
    QFile input;
    Handover handover;
    if (!input.open(STDIN_FILENO, QIODevice::ReadOnly) || !Parse(input.readAll(), handover)) return 1;
    input.close();
    X11Connection x;
    if (!x.isOpen()) return 1;
    std::vector<std::pair<xcb_atom_t, xcb_atom_t>> forms;
    for (const Offer &offer : handover.offers)
        forms.emplace_back(x.atom(offer.target.toStdString()), x.atom(offer.type.toStdString()));
    const xcb_atom_t clipboard = x.atom("CLIPBOARD");
    const xcb_window_t window = x.createWindow();
    xcb_set_selection_owner(x.get(), window, clipboard, handover.time);
    if (x.selectionOwner(clipboard) != window) return 0; // another program took the clipboard in the meantime
    TellOwned();
    while (const XcbPtr<xcb_generic_event_t> event{xcb_wait_for_event(x.get())}) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) return 0;
        if (type == XCB_SELECTION_REQUEST)
            Answer(x, *reinterpret_cast<const xcb_selection_request_event_t *>(event.get()), handover, forms);
    }
    return 0; // the X server went away
}
