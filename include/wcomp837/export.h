/* Marks what the shared library exports; everything else is built with
 * hidden visibility, so internal changes leave the library's ABI alone. */
#ifndef WCOMP837_EXPORT_H
#define WCOMP837_EXPORT_H

#if defined(__GNUC__)
#define WCOMP837_API __attribute__((visibility("default")))
#else
#define WCOMP837_API
#endif

#endif /* WCOMP837_EXPORT_H */
