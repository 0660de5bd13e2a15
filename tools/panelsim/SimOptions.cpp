#include "SimOptions.h"

#include "PanelEngine.h"

#include <QCommandLineParser>

#include <limits>

namespace {
std::optional<int> toInt(const QString& text, int min, int max) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < min || n > max)
        return std::nullopt;
    return n;
}

constexpr int intMin = std::numeric_limits<int>::min();
constexpr int intMax = std::numeric_limits<int>::max();
} // namespace

QString SimOptions::helpText() {
    return QStringLiteral(R"(Usage: panelsim [options]
A simulated ten-button switch panel on a pseudo-terminal. Prints the device
path as its first line on standard output, then answers the panel's serial
protocol until SIGTERM or SIGINT. Replies leave after the time their
characters take at 9600 baud (about 1.04 ms each), plus any delay below;
like a real port, the device loses replies that come while it is closed.
SIGUSR1 takes the panel off the line (it answers nothing, as with --silent)
and puts it back, in turn: a panel unplugged from an adapter that stays.

Memory (applied in this order):
  a fresh panel holds 160 at 0-21, 10 at 22-24 and identity 61 at 63
  --config FILE.zqc      addresses 0-24 from a configuration file
  --identity N           identity code at address 63 (61, 67 or anything else)
  --set ADDR=VALUE       any integer at address 0-63; repeatable

Output:
  --link PATH            also reach the device through PATH, a symbolic link
                         made at start (replacing one left there) and removed
                         at exit: a fixed name for a panel that is unplugged
                         (simulator stopped) and plugged in again (restarted)
  --log FILE             one line per chunk received, command understood,
                         reply sent or lost, opening and closing of the
                         device, and hang-up; each flushed at once
  --verbose              the same lines on standard output after the path

Faults (any combination):
  --silent               answer nothing at all
  --answer-handshake-from N
                         leave the first N-1 "A" unanswered
  --no-reply WHERE       carry out the command (store a write) but lose its reply
  --short-reply WHERE    send only the first three characters ("016", "D00")
  --garble WHERE         send five wrong characters ("D0?0D", "0X600")
  --extra-char WHERE     send one more character after the reply ("D000DX")
  --delay MS[@WHERE]     hold replies back MS more milliseconds; without
                         @WHERE every reply; repeatable, delays add up
  --hang-up-after N      close the line on receiving the N-th command,
                         unanswered, and exit

  WHERE is a comma-separated list of: handshake, or [read:|write:] followed
  by all, an address N or a range N-M; a bare address means reads and
  writes there. Examples: --garble handshake,7  --short-reply read:all
  --no-reply write:5  --delay 250@handshake
WHERE options may be repeated; their commands add up.

  -h, --help             show this text
)");
}

SimOptions SimOptions::parse(const QStringList& arguments) {
    SimOptions o;
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "");
    const QCommandLineOption identity("identity", "", "N");
    const QCommandLineOption set("set", "", "ADDR=VALUE");
    const QCommandLineOption config("config", "", "FILE");
    const QCommandLineOption log("log", "", "FILE");
    const QCommandLineOption link("link", "", "PATH");
    const QCommandLineOption verbose("verbose", "");
    const QCommandLineOption silent("silent", "");
    const QCommandLineOption handshakeFrom("answer-handshake-from", "", "N");
    const QCommandLineOption noReply("no-reply", "", "WHERE");
    const QCommandLineOption shortReply("short-reply", "", "WHERE");
    const QCommandLineOption garble("garble", "", "WHERE");
    const QCommandLineOption extraChar("extra-char", "", "WHERE");
    const QCommandLineOption delay("delay", "", "MS[@WHERE]");
    const QCommandLineOption hangUp("hang-up-after", "", "N");
    parser.addOptions({help, identity, set, config, log, link, verbose, silent, handshakeFrom,
                       noReply, shortReply, garble, extraChar, delay, hangUp});

    auto refuse = [&o](const QString& message) {
        if (o.error.isEmpty())
            o.error = message;
        return o;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]));
    if (parser.isSet(help)) {
        o.showHelp = true;
        return o;
    }

    if (parser.isSet(identity)) {
        o.identity = toInt(parser.value(identity), intMin, intMax);
        if (!o.identity)
            return refuse(QStringLiteral("--identity needs a whole number"));
    }
    for (const QString& item : parser.values(set)) {
        const qsizetype eq = item.indexOf(u'=');
        const auto address =
            toInt(item.first(std::max<qsizetype>(eq, 0)), 0, PanelEngine::memorySize - 1);
        const auto value = eq < 0 ? std::nullopt : toInt(item.sliced(eq + 1), intMin, intMax);
        if (!address || !value)
            return refuse(QStringLiteral("--set needs ADDR=VALUE with ADDR 0-63: %1").arg(item));
        o.sets.append({*address, *value});
    }
    o.configPath = parser.value(config);
    o.logPath = parser.value(log);
    o.linkPath = parser.value(link);
    o.verbose = parser.isSet(verbose);

    PanelFaults& f = o.faults;
    f.silent = parser.isSet(silent);
    if (parser.isSet(handshakeFrom)) {
        const auto n = toInt(parser.value(handshakeFrom), 1, intMax);
        if (!n)
            return refuse(QStringLiteral("--answer-handshake-from needs a count from 1"));
        f.answerHandshakeFrom = *n;
    }
    if (parser.isSet(hangUp)) {
        const auto n = toInt(parser.value(hangUp), 1, intMax);
        if (!n)
            return refuse(QStringLiteral("--hang-up-after needs a count from 1"));
        f.hangUpAfter = *n;
    }
    const std::pair<const QCommandLineOption*, FaultTarget*> targets[] = {
        {&noReply, &f.noReply},
        {&shortReply, &f.shortReply},
        {&garble, &f.garbled},
        {&extraChar, &f.extraChar},
    };
    for (const auto& [option, target] : targets) {
        for (const QString& text : parser.values(*option)) {
            const auto where = FaultTarget::parse(text);
            if (!where)
                return refuse(QStringLiteral("--%1: not a WHERE list: %2")
                                  .arg(option->names().constFirst(), text));
            *target += *where;
        }
    }
    for (const QString& text : parser.values(delay)) {
        const qsizetype at = text.indexOf(u'@');
        const auto ms = toInt(at < 0 ? text : text.first(at), 0, 3600 * 1000);
        const auto where = at < 0 ? std::optional(FaultTarget::everything())
                                  : FaultTarget::parse(text.sliced(at + 1));
        if (!ms || !where)
            return refuse(QStringLiteral("--delay needs MS[@WHERE]: %1").arg(text));
        f.delays.append({*ms, *where});
    }
    return o;
}
