'use strict';
// Drives a server that serves RCON with third-party client packages: each
// client logs in, runs the reload command, a command the server does not know
// and the reload again on the same connection, and is refused with a wrong
// password. Before them, raw connections send bad input, and one stays
// connected without a word throughout. The server must exit cleanly at the end
// of its standard input.
//
//   node check_clients.js -- SERVER [ARGS...]
//
// The server runs as `SERVER ARGS... --rcon-port 0 --rcon-password PW` and
// says on standard error which port the system gave it; the client packages
// are found through NODE_PATH.

const net = require('net');
const { spawn } = require('child_process');

// Without the client packages (no npm registry here) there is nothing to check.
const kSkipped = 77;
for (const name of ['rcon', 'rcon-client', 'rcon-srcds']) {
  try {
    require.resolve(name);
  } catch {
    console.log(`RCON client package ${name} is not installed: the client checks are skipped`);
    process.exit(kSkipped);
  }
}

const kPassword = 'gatehouse-test-password';
const kTimeoutMs = 5000;

function withTimeout(promise, what, ms = kTimeoutMs) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no answer in ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// A connected socket whose later errors (the server closing it) are ignored.
function connectRaw(port) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(port, '127.0.0.1', () => resolve(socket.on('error', () => {})));
    socket.once('error', reject);
  });
}

// The port the server reports once it listens (it is started on port 0 and
// the system picks a free one), or a failure when it exits or stays silent.
function listeningPort(server) {
  return new Promise((resolve, reject) => {
    let text = '';
    const onData = (data) => {
      text += data;
      const found = /^gatehouse-sim: serving RCON on 127\.0\.0\.1:(\d+)\r?$/m.exec(text);
      if (found) {
        server.stderr.off('data', onData);
        resolve(Number(found[1]));
      }
    };
    server.stderr.on('data', onData);
    server.once('exit', (code, signal) => reject(new Error(`server exited with status ${code ?? signal}`)));
  });
}

// One adapter per package: a logged-in session with send(command) and end().
const clients = {
  'rcon-client': async (port, password) => {
    const { Rcon } = require('rcon-client');
    const rcon = await Rcon.connect({ host: '127.0.0.1', port, password, timeout: kTimeoutMs });
    rcon.on('error', () => {});
    return { send: (command) => rcon.send(command), end: () => rcon.end() };
  },
  'rcon-srcds': async (port, password) => {
    const RCON = require('rcon-srcds').default;
    const rcon = new RCON({ host: '127.0.0.1', port, timeout: kTimeoutMs, encoding: 'utf8' });
    await rcon.authenticate(password);
    return { send: (command) => rcon.execute(command), end: () => rcon.disconnect() };
  },
  // Event driven: one response per command, in order; before the login only
  // the empty value that precedes the answer.
  rcon: (port, password) => new Promise((resolve, reject) => {
    const Rcon = require('rcon');
    const connection = new Rcon('127.0.0.1', port, password);
    let pending = null;
    connection.on('auth', () => resolve({
      send: (command) => new Promise((res, rej) => {
        pending = { res, rej };
        connection.send(command);
      }),
      end: () => connection.disconnect(),
    }));
    connection.on('response', (text) => {
      const waiting = pending;
      pending = null;
      if (waiting !== null) waiting.res(text);
    });
    connection.on('error', (error) => {
      if (pending !== null) pending.rej(error);
      reject(error);
    });
    connection.on('end', () => reject(new Error('connection closed')));
    connection.connect();
  }),
};

async function checkSession(connect, port) {
  const session = await withTimeout(connect(port, kPassword), 'login');
  try {
    for (const [command, expected] of [['Gatehouse.Reload', 'Reloaded Config!'],
      ['Gatehouse.NoSuchCommand', 'Unknown command: Gatehouse.NoSuchCommand'],
      ['Gatehouse.Reload', 'Reloaded Config!']]) {
      const reply = (await withTimeout(session.send(command), command)).replace(/\n$/, '');
      if (reply !== expected) {
        throw new Error(`${command}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(reply)}`);
      }
    }
  } finally {
    await Promise.resolve(session.end()).catch(() => {});
  }
}

async function checkRefusal(connect, port) {
  let session;
  try {
    session = await withTimeout(connect(port, `${kPassword}-wrong`), 'wrong password');
  } catch (error) {
    // A refusal, not a lost connection or silence.
    if (!/authenticat/i.test(error.message)) throw error;
    return;
  }
  await Promise.resolve(session.end()).catch(() => {});
  throw new Error('a wrong password was taken');
}

function encodePacket(size, id, type, body) {
  const bytes = Buffer.alloc(14 + Buffer.byteLength(body));
  bytes.writeInt32LE(size ?? bytes.length - 4, 0);
  bytes.writeInt32LE(id, 4);
  bytes.writeInt32LE(type, 8);
  bytes.write(body, 12);
  return bytes;
}

// Bytes that no client package sends: each connection is closed, and the
// server goes on serving the packages' sessions that follow.
async function checkBadInput(port) {
  for (const [what, size] of [['a negative size', -5], ['a zero size', 0],
    ['a size over 4096', 4097], ['a command before the password', null]]) {
    const socket = await connectRaw(port);
    socket.resume();
    await withTimeout(new Promise((resolve) => {
      socket.once('close', resolve);
      socket.write(encodePacket(size, 1, 2, 'Gatehouse.Reload'));
    }), `connection closed after ${what}`);
  }
  const leaver = await connectRaw(port);
  leaver.end(encodePacket(null, 1, 3, kPassword).subarray(0, 9));
}

async function main() {
  const [program, ...args] = process.argv.slice(process.argv.indexOf('--') + 1);
  const server = spawn(program, [...args, '--rcon-port', '0', '--rcon-password', kPassword],
    { stdio: ['pipe', 'pipe', 'pipe'] });
  let output = '';
  for (const stream of [server.stdout, server.stderr]) stream.on('data', (data) => { output += data; });
  server.on('error', (error) => { output += `cannot start server: ${error.message}\n`; });
  const exited = new Promise((resolve) => server.once('exit', (code, signal) => resolve(code ?? signal)));
  const reported = withTimeout(listeningPort(server), 'the port the server listens on', 15000);
  reported.catch(() => {});

  let failed = 0;
  const check = async (name, run) => {
    try {
      await run();
      console.log(`ok: ${name}`);
    } catch (error) {
      console.log(`FAILED: ${name}: ${error.message}`);
      ++failed;
    }
  };
  let port = 0;
  await check('server listens', async () => { port = await reported; });
  if (failed === 0) {
    const silent = await connectRaw(port);
    await check('bad input closes only its own connection', () => checkBadInput(port));
    for (const [name, connect] of Object.entries(clients)) {
      await check(`${name} serves commands`, () => checkSession(connect, port));
      await check(`${name} refuses a wrong password`, () => checkRefusal(connect, port));
    }
    silent.destroy();
  }
  server.stdin.end();
  // Under the sanitizers, a fault found at any point shows in the status.
  await check('server exits cleanly when its input ends', async () => {
    const status = await withTimeout(exited, 'server exit', 10000).catch((error) => {
      server.kill('SIGKILL');
      throw error;
    });
    if (status !== 0) throw new Error(`status ${status}`);
  });
  if (failed > 0) console.log(`server output:\n${output}`);
  process.exitCode = failed === 0 ? 0 : 1;
}

setTimeout(() => {
  console.log('FAILED: gave up after 90 s');
  process.exit(1);
}, 90000).unref();

main().catch((error) => {
  console.log(`FAILED: ${error.message}`);
  process.exit(1);
});
