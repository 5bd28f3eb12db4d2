// A drawing writer that keeps what it is given, for checking what the generators hand over
// without any output format in between.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing_writer.h"

namespace tsn::test {

class RecordingWriter final : public DrawingWriter {
 public:
  struct Added {
    DrawingStream stream = DrawingStream::entities;
    std::string block;  // the block it was given in; empty outside one
    std::string layer;
    int colour = -1;
    bool has_z = false;
    EntityShape shape;
    std::vector<Point3> vertices;  // of a polyline, copied
    std::vector<std::pair<int, std::string>> xdata;
    EntityRef reactor;
    EntityRef ref;
  };

  std::vector<Added> added;
  std::vector<std::string> blocks;  // every block begun, in order
  int refuse_from = -1;             // entities from this index on are refused

  int begin_drawing(const DrawingSetup&) override { return 0; }
  int begin_block(DrawingStream, const BlockDef& b) override {
    blocks.emplace_back(b.name);
    open_.assign(b.name);
    return 0;
  }
  int end_block(DrawingStream) override {
    open_.clear();
    return 0;
  }
  EntityRef reserve() override { return EntityRef{++next_}; }
  int add(DrawingStream stream, const Entity& e, EntityRef* made) override {
    if (refuse_from >= 0 && static_cast<int>(added.size()) >= refuse_from) return -1;
    Added a{stream, open_, std::string(e.look.layer), e.look.colour, e.look.has_z, e.shape,
            {}, {}, e.reactor, EntityRef{++next_}};
    if (const auto* p = std::get_if<PolylineEntity>(&e.shape)) {
      a.vertices.assign(p->vertices.begin(), p->vertices.end());
    }
    for (const XdataItem& x : e.xdata) a.xdata.emplace_back(x.code, std::string(x.text));
    if (made != nullptr) *made = a.ref;
    added.push_back(std::move(a));
    return 0;
  }
  bool failed() const override { return false; }
  std::string_view failed_file() const override { return {}; }
  long non_finite_reals() const override { return 0; }
  int finish(bool (*)()) override { return 0; }
  void discard() override {}

  // The added entities whose shape is T.
  template <class T>
  std::vector<const Added*> of() const {
    std::vector<const Added*> out;
    for (const Added& a : added) {
      if (std::holds_alternative<T>(a.shape)) out.push_back(&a);
    }
    return out;
  }

 private:
  std::string open_;
  std::uint32_t next_ = 0;
};

}  // namespace tsn::test
