#!/usr/bin/env bash
# Succeeds when this machine can execute i386 Linux programs, which the 32-bit Wine needs.
# Some virtual machines run 64-bit user code only (IA-32 emulation off in the kernel).
/lib/ld-linux.so.2 --version >/dev/null 2>&1
