#!/usr/bin/env python3
"""A local stand-in for the answer service, for chatting with Tavelo without a network.

It answers every GET of /quark/1/ai with the JSON reply shape the program reads, echoing the
question (sent percent-encoded in code page 936) back in a short sentence. Start it, then
start Tavelo pointed at it:

    python3 tools/answer-standin/answer_standin.py 8123 &
    TAVELO_ANSWER_URL=http://127.0.0.1:8123 ./scripts/run.sh
"""
import json
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit


class AnswerHandler(BaseHTTPRequestHandler):
    def do_GET(self):
        parts = urlsplit(self.path)
        if parts.path != "/quark/1/ai":
            self.send_error(404)
            return
        question = parse_qs(parts.query, encoding="gbk", errors="replace").get("q", [""])[0]
        answer = f"你说的是：{question}" if question else "你好呀"
        body = json.dumps({"data": [{"value": {"answer": answer}}]}, ensure_ascii=False)
        data = body.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "application/json; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, format, *args):
        sys.stderr.write("answer stand-in: " + format % args + "\n")


if __name__ == "__main__":
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 8123
    ThreadingHTTPServer(("127.0.0.1", port), AnswerHandler).serve_forever()
