/* LD_PRELOAD helper for the bench: a pseudo-terminal has no modem lines, and a program
 * that reads or sets them (QSerialPort does, for RTS/DTR display) gets ENOTTY and may close
 * the port. Here those calls succeed on a pty as on a UART with DSR, CTS and CD raised,
 * so a stock serial terminal stays open on the bench's pty.
 * Build: cc -shared -fPIC -O2 -o pty_modem_lines.so pty_modem_lines.c -ldl
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>

int ioctl(int fd, unsigned long request, ...)
{
    static int (*real)(int, unsigned long, ...);
    if (!real)
        real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    int result = real(fd, request, arg);
    if (result == -1 && errno == ENOTTY) {
        switch (request) {
        case TIOCMGET:
            *(int *)arg = TIOCM_DSR | TIOCM_CTS | TIOCM_CD | TIOCM_DTR | TIOCM_RTS;
            return 0;
        case TIOCMSET:
        case TIOCMBIS:
        case TIOCMBIC:
            return 0;
        }
    }
    return result;
}
