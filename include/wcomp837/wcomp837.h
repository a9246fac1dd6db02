/* C interface of the wcomp837 claim-format component.
 *
 * A host creates one object per claim batch, sends its settings with
 * wcomp837_here_is_a_message, hands every record to wcomp837_format_record,
 * ends the batch with wcomp837_process_end_of_file and
 * wcomp837_process_formatted_records, and reads the messages left for it
 * with wcomp837_get_a_message after any call that answered non-zero.
 * Result codes: 0 done, 1 messages waiting, 3 error; -1 for a null handle,
 * message key or record key (a null message value or record is taken as the
 * empty text). Texts are NUL-terminated byte strings. No function lets an
 * exception escape. An object belongs to the thread that created it: objects
 * created on one thread share their working state, so a host uses one at a
 * time per thread. The call sequence, every host message, the message list
 * and the record formats: docs/host-protocol.md (installed as
 * /usr/share/doc/libwcomp837-dev/host-protocol.md.gz).
 */
#ifndef WCOMP837_WCOMP837_H
#define WCOMP837_WCOMP837_H

#include <stddef.h>
#include <stdint.h>

#include "wcomp837/export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct wcomp837_format wcomp837_format;

/* Creates an object; NULL when memory is exhausted. */
WCOMP837_API wcomp837_format* wcomp837_create(void);
WCOMP837_API void wcomp837_destroy(wcomp837_format* obj);

WCOMP837_API int16_t wcomp837_here_is_a_message(wcomp837_format* obj, const char* msg_nr,
                                                const char* msg);
WCOMP837_API int16_t wcomp837_format_record(wcomp837_format* obj, const char* key,
                                            const char* record);
WCOMP837_API int16_t wcomp837_process_end_of_file(wcomp837_format* obj);
WCOMP837_API int16_t wcomp837_process_formatted_records(wcomp837_format* obj);

/* Copies message index (1-based) into buf as a NUL-terminated text, cut to
 * buf_size - 1 bytes. Returns the full length of the message text (without
 * the NUL), so a caller can retry with a larger buffer; the text "END" marks
 * the end of the list. Returns -1 for a null handle. buf may be NULL when
 * buf_size is 0. */
WCOMP837_API int64_t wcomp837_get_a_message(wcomp837_format* obj, int32_t index, char* buf,
                                            size_t buf_size);

/* The text of the last unexpected failure, copied like wcomp837_get_a_message. */
WCOMP837_API int64_t wcomp837_error_message(wcomp837_format* obj, char* buf, size_t buf_size);
/* Replaces that text (NULL clears it); 0, or -1 for a null handle. */
WCOMP837_API int16_t wcomp837_set_error_message(wcomp837_format* obj, const char* text);

#ifdef __cplusplus
}
#endif

#endif /* WCOMP837_WCOMP837_H */
