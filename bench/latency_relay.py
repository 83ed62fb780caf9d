#!/usr/bin/env python3
"""A TCP relay on 127.0.0.1 that passes every chunk on a delay after it
arrived, in each direction, so that a benchmark sees a server at a distance
without netem:  latency_relay.py LISTEN_PORT TARGET_PORT [DELAY_MS]

Chunks are held side by side, as on a long line: a statement of many chunks
arrives a delay late, not a delay per chunk late."""
import asyncio
import sys


async def pipe(reader, writer, delay):
    loop = asyncio.get_running_loop()
    held = asyncio.Queue()

    async def forward():
        while (item := await held.get()) is not None:
            due, data = item
            await asyncio.sleep(max(0.0, due - loop.time()))
            writer.write(data)
            await writer.drain()
        writer.close()

    sender = asyncio.ensure_future(forward())
    try:
        while data := await reader.read(65536):
            held.put_nowait((loop.time() + delay, data))
    finally:
        held.put_nowait(None)
        await sender


async def main(listen, target, delay):
    async def serve(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
        await asyncio.gather(pipe(client_reader, server_writer, delay),
                             pipe(server_reader, client_writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(serve, "127.0.0.1", listen)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    delay_ms = float(sys.argv[3]) if len(sys.argv) > 3 else 5.0
    asyncio.run(main(int(sys.argv[1]), int(sys.argv[2]), delay_ms / 1000))
