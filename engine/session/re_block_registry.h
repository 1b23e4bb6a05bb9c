// The control blocks REmemory has made and not yet freed. A caller hands the
// engine nothing but a pointer: before an entry point reads a block through
// it, it asks here whether the pointer is a live block of the type the entry
// point takes. A block of another type, a block already freed or a pointer
// the engine never handed out is refused as a null block is: 8, and nothing
// is read or written through it. (The fields inside a live block are the
// caller's to fill; the operations check what they read from them.)
#pragma once

#include "re_types.h"

// Records a new block with the count its buffers were made for (slots,
// units; 0 for a block without counted buffers); false when there is no
// memory for the record.
bool ReRegisterBlock(const void* block, u16 type, u32 count);
// A re-sized block's new count.
void ReSetBlockCount(const void* block, u32 count);
// The count a live block's buffers were made for, 0 when `block` is none.
// The block's own count fields are the caller's to change; its buffers are
// not, so the slots an operation fills are never more than this.
u32 ReBlockCount(const void* block);
// Forgets a block that is being freed.
void ReForgetBlock(const void* block);
// The type of a live block, 0 when `block` is none.
u16 ReLiveBlockType(const void* block);
inline bool ReIsLiveBlock(const void* block, u16 type) { return block && ReLiveBlockType(block) == type; }
// Number of live blocks (tests).
u32 ReLiveBlockCount();

// The type each entry point's block has.
struct ReAppBlock;
struct ReDbBlock;
struct ReIdxListBlock;
struct ReEntListBlock;
struct ReEntryBlock;
struct ReTokenBlock;
struct ReSearchBlock;
struct ReStrTabBlock;
struct ReSubsetBlock;
struct ReEtParBlock;
constexpr u16 ReTypeOfBlock(const ReAppBlock*) { return 510; }
constexpr u16 ReTypeOfBlock(const ReDbBlock*) { return 520; }
constexpr u16 ReTypeOfBlock(const ReIdxListBlock*) { return 530; }
constexpr u16 ReTypeOfBlock(const ReEntListBlock*) { return 540; }
constexpr u16 ReTypeOfBlock(const ReEntryBlock*) { return 550; }
constexpr u16 ReTypeOfBlock(const ReTokenBlock*) { return 555; }
constexpr u16 ReTypeOfBlock(const ReSearchBlock*) { return 560; }
constexpr u16 ReTypeOfBlock(const ReStrTabBlock*) { return 565; }
constexpr u16 ReTypeOfBlock(const ReSubsetBlock*) { return 575; }
constexpr u16 ReTypeOfBlock(const ReEtParBlock*) { return 590; }

// True when `block` is a live block of the type its pointer names.
template <class Block>
bool ReIsLive(const Block* block) {
  return ReIsLiveBlock(block, ReTypeOfBlock(block));
}
