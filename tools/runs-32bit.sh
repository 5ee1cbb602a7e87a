#!/usr/bin/env bash
# Exits 0 when this machine can start a 32-bit x86 process, 1 when it cannot. Some of
# the project's machines boot with the kernel's 32-bit emulation off; there no i386
# program runs, 32-bit Wine included, so the i686 build can be built but not run.
#
# The test is a 93-byte i386 program that only calls exit(0): an ELF header, one
# loadable segment and "mov eax, 1; xor ebx, ebx; int 0x80". It needs no 32-bit
# libraries, so it answers the same before and after they are installed.
set -u
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
elf='\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000'
elf+='\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\050\000'
elf+='\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000'
elf+='\135\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\061\333\315\200'
printf "$elf" >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null || exit 1
