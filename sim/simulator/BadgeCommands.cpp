#include "Simulator.h"

namespace lumivoke::sim {
namespace {

/// "X,Y" as two numbers, each read by parse.
std::pair<double, double> parsePair(const std::string& text, const char* what,
                                    double (*parse)(const std::string&, const char*)) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        throw ScenarioError(std::string("expected ") + what + " as A,B, got \"" + text + "\"");
    }
    return {parse(text.substr(0, comma), what), parse(text.substr(comma + 1), what)};
}

Point parseHotSpot(const std::string& text) {
    const auto [x, y] = parsePair(text, "hot spot", parseCoordinate);
    return Point{x, y};
}

Size parseImageSize(const std::string& text) {
    const auto [w, h] = parsePair(text, "image size", parseExtent);
    return Size{w, h};
}

}  // namespace

void addBadgeCommands(CommandTable& t) {
    t.add("cursor", "cursor ibeam|arrow|none | cursor hot=X,Y size=W,H",
          "sets the system cursor (each change bumps the cursor seed); the pointer over text "
          "shows the I-beam",
          [](const Args& a) {
              a.expectOnly(1, {"hot", "size"});
              std::optional<SimCursorServer::Shape> shape;
              if (a.hasOption("hot") || a.hasOption("size")) {
                  if (a.count() != 0 || !a.hasOption("hot") || !a.hasOption("size")) {
                      throw ScenarioError("give both hot=X,Y and size=W,H, or a cursor name");
                  }
                  shape = SimCursorServer::Shape{parseHotSpot(*a.option("hot")),
                                                 parseImageSize(*a.option("size"))};
              } else {
                  const std::string name = a.at(0, "cursor name");
                  if (name == "ibeam") {
                      shape = SimCursorServer::iBeam;
                  } else if (name == "arrow") {
                      shape = SimCursorServer::arrow;
                  } else if (name != "none") {
                      throw ScenarioError("unknown cursor \"" + name + "\" (ibeam, arrow, none)");
                  }
              }
              return [shape](Simulator& s) { s.machine().cursor.setCurrent(shape); };
          });
    t.add("cursor-seed", "cursor-seed missing|present",
          "whether looking up the window server's cursor-seed function finds it (the "
          "application looks it up once)",
          [](const Args& a) {
              a.expectOnly(1, {});
              const std::string v = a.at(0, "missing or present");
              if (v != "missing" && v != "present") {
                  throw ScenarioError("use missing or present");
              }
              return [v](Simulator& s) { s.machine().cursor.setSeedMissing(v == "missing"); };
          });
    t.add("ibeam-signature",
          "ibeam-signature missing | ibeam-signature hot=X,Y|missing size=W,H|missing",
          "the standard I-beam's hot spot and image size as the system reports them (4,9 and "
          "9x18 by default)",
          [](const Args& a) {
              a.expectOnly(1, {"hot", "size"});
              std::optional<Point> hot;
              std::optional<Size> size;
              if (a.count() == 1) {
                  if (a.at(0, "missing") != "missing" || !a.options().empty()) {
                      throw ScenarioError("use ibeam-signature missing, or hot= and size=");
                  }
              } else {
                  if (!a.hasOption("hot") || !a.hasOption("size")) {
                      throw ScenarioError("give both hot=X,Y|missing and size=W,H|missing");
                  }
                  if (*a.option("hot") != "missing") {
                      hot = parseHotSpot(*a.option("hot"));
                  }
                  if (*a.option("size") != "missing") {
                      size = parseImageSize(*a.option("size"));
                  }
              }
              return [hot, size](Simulator& s) { s.machine().cursor.setIBeamSignature(hot, size); };
          });
    t.add("no-main-screen", "no-main-screen [off]",
          "the system reports no main screen (off: the first display is the main one again)",
          [](const Args& a) {
              a.expectOnly(1, {});
              const auto v = a.optionalAt(0);
              if (v && *v != "off") {
                  throw ScenarioError("use no-main-screen or no-main-screen off");
              }
              const bool none = !v;
              return [none](Simulator& s) { s.machine().screens.setNoMainScreen(none); };
          });
}

}  // namespace lumivoke::sim
