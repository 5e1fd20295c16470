// The module's embedded resources: one ELF note per resource in an allocated note section, so
// the linker places them in a PT_NOTE segment that Platform::findResource reaches through the
// module's program headers. Layout of a note (native byte order, see docs/resources.md):
//   owner size 10, descriptor size, type 10 (raw data), owner "Brennovar\0" padded to 4,
//   descriptor: name size, data size, name, padding to 4, data.
// The file paths come from the build (ZINTARA_SKIN_CONTAINER_FILE, ZINTARA_TRANSLATION_FILE);
// the build also makes this object depend on both files, since the compiler's dependency
// scan does not see .incbin.

asm(R"(
    .macro zintara_resource name, file
    .pushsection .note.brennovar.resource, "a", %note
    .balign 4
    .long 10
    .long 2f - 1f
    .long 10
    .asciz "Brennovar"
    .balign 4
1:  .long 4f - 3f
    .long 6f - 5f
3:  .ascii "\name"
4:  .balign 4
5:  .incbin "\file"
6:
2:  .balign 4
    .popsection
    .endm
)"
    "zintara_resource SKIN.KXP, \"" ZINTARA_SKIN_CONTAINER_FILE "\"\n"
    "zintara_resource TRANSLATION.XML, \"" ZINTARA_TRANSLATION_FILE "\"\n");
